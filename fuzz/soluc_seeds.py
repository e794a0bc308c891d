#!/usr/bin/env python3
"""Seeds for importar_fuzz: SOLUC tables for the exchange tables in KTEMP, written by
python3-dbf as the timetabling product would leave them, in the layouts the export reads
(numeric or text DIA and HORA), each into OUT/<name>.DBF.

usage: soluc_seeds.py KTEMP OUT
"""
import os
import shutil
import sys
import tempfile

import dbf
from dbfread import DBF

LAYOUTS = {
    'numerico': 'PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(1); ASIG C(10); '
                'CODGRUPO C(10); TAREA C(12); AULA C(10)',
    'texto': 'AULA C(10); TAREA C(12); CODGRUPO C(10); ASIG C(10); MARCO C(2); HORA C(3); '
             'DIA C(2); PROF C(10); EXTRA C(5)',
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


def write(path, layout, values):
    work = tempfile.mkdtemp()
    try:
        table = dbf.Table(os.path.join(work, 'SOLUC.DBF'), LAYOUTS[layout], dbf_type='db3',
                          codepage='cp1252')
        table.open(dbf.READ_WRITE)
        for prof, dia, hora, marco, asig, grupo, tarea, aula in values:
            if layout == 'numerico':
                table.append((prof, int(dia), int(hora), marco, asig, grupo, tarea, aula))
            else:
                table.append((aula, tarea, grupo, asig, marco, hora, dia, prof, 'x'))
        table.close()
        shutil.copyfile(os.path.join(work, 'SOLUC.DBF'), path)
    finally:
        shutil.rmtree(work)


def main():
    ktemp, out = sys.argv[1:3]
    os.makedirs(out, exist_ok=True)
    values = list(lessons(ktemp))
    for layout in LAYOUTS:
        write(os.path.join(out, 'soluc-%s.DBF' % layout), layout, values)
        write(os.path.join(out, 'soluc-%s-vacia.DBF' % layout), layout, [])


if __name__ == '__main__':
    main()
