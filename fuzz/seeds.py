#!/usr/bin/env python3
"""Seeds the fuzz targets take from python3-dbf, an independent writer:

- OUT/soluc: SOLUC tables for the exchange tables in KTEMP, as the timetabling product would
  leave them, in the layouts the export reads (numeric or text DIA and HORA), for
  importar_fuzz;
- OUT/dbf: tables of other writers (dBASE III, FoxPro, Visual FoxPro) with every field type
  they have, for dbf_read_fuzz.

usage: seeds.py KTEMP OUT
"""
import os
import shutil
import sys
import tempfile
from datetime import date, datetime

import dbf
from dbfread import DBF

LAYOUTS = {
    'numerico': 'PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(1); ASIG C(10); '
                'CODGRUPO C(10); TAREA C(12); AULA C(10)',
    'texto': 'AULA C(10); TAREA C(12); CODGRUPO C(10); ASIG C(10); MARCO C(2); HORA C(3); '
             'DIA C(2); PROF C(10); EXTRA C(5)',
}


FOREIGN = {
    'd3': ('db3', 'NAME C(10); N N(5,1); D D; L L; M M',
           [('Peña', -2.5, date(2021, 3, 4), True, 'memo'), ('Ñu', 4, None, False, ''), ()]),
    'fp': ('fp', 'NAME C(10); N N(5,1); F F(10,3); D D; L L; M M',
           [('Peña', 12.5, -1.25, date(2021, 3, 4), False, 'x')]),
    'vfp': ('vfp', 'NAME C(10) null; N N(5,1); I I; B B; Y Y; T T; D D; L L; M M',
            [('Peña', 12.5, -7, 43.65, 12.5, datetime(2020, 2, 20, 20, 20, 20),
              date(2021, 3, 4), True, 'memo'),
             (None, None, 5, 0, 0, None, None, None, '')]),
}


def rows(ktemp, name):
    return list(DBF(os.path.join(ktemp, name + '.DBF'), encoding='cp1252'))


def lessons(ktemp):
    """A few lessons per teacher over the subjects and slots the tables hold."""
    prof, asig, slots = rows(ktemp, 'PROFT'), rows(ktemp, 'ASIGT'), rows(ktemp, 'DIASHORAST')
    for i, p in enumerate(prof[:12]):
        for j in range(1 + i % 3):
            a = asig[(i * 3 + j) % len(asig)]
            s = slots[(i * 5 + j * 7) % len(slots)]
            hora = s['DIHO'][len(s['DIA']):]
            yield (p['ABREV'], s['DIA'], hora, s['MARCO'], a['CASIG'], a['CGRUP'],
                   'CLASE' if j == 2 else '', 'A%d' % j if j else '')


def make(path, layout, dbf_type, values):
    """A table made in a folder of its own; only the .DBF is kept (not its memo file)."""
    work = tempfile.mkdtemp()
    try:
        table = dbf.Table(os.path.join(work, 'T.DBF'), layout, dbf_type=dbf_type,
                          codepage='cp1252')
        table.open(dbf.READ_WRITE)
        for value in values:
            table.append(value)
        table.close()
        shutil.copyfile(os.path.join(work, 'T.DBF'), path)
    finally:
        shutil.rmtree(work)


def soluc(path, layout, values):
    rows = []
    for prof, dia, hora, marco, asig, grupo, tarea, aula in values:
        if layout == 'numerico':
            rows.append((prof, int(dia), int(hora), marco, asig, grupo, tarea, aula))
        else:
            rows.append((aula, tarea, grupo, asig, marco, hora, dia, prof, 'x'))
    make(path, LAYOUTS[layout], 'db3', rows)


def main():
    ktemp, out = sys.argv[1:3]
    for kind in ('soluc', 'dbf'):
        os.makedirs(os.path.join(out, kind), exist_ok=True)
    values = list(lessons(ktemp))
    for layout in LAYOUTS:
        soluc(os.path.join(out, 'soluc', 'soluc-%s.DBF' % layout), layout, values)
        soluc(os.path.join(out, 'soluc', 'soluc-%s-vacia.DBF' % layout), layout, [])
    for name, (dbf_type, layout, values) in FOREIGN.items():
        make(os.path.join(out, 'dbf', name + '.dbf'), layout, dbf_type, values)


if __name__ == '__main__':
    main()
