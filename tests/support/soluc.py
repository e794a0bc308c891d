# SOLUC.DBF as the timetabling product leaves it (dBASE III, cp1252, python3-dbf), for the
# tests' scripts. The tests run their scripts with this folder on the module path: import soluc.
import os

import dbf

# The fields the product writes, in its order.
FIELDS = ('PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(2); ASIG C(10); CODGRUPO C(10); '
          'TAREA C(12); AULA C(10)')


def write(folder, rows, fields=FIELDS):
    """Writes SOLUC.DBF into `folder` with `rows`, tuples in the order of `fields`."""
    table = dbf.Table(os.path.join(folder, 'SOLUC.DBF'), fields, dbf_type='db3',
                      codepage='cp1252')
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(tuple(row))
    table.close()
