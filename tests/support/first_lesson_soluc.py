# Writes SOLUC.DBF into the exchange folder given as the first argument, as the timetabling
# product leaves it: one lesson of the first assignment's group and subject, taught by the
# first teacher in the first slot of frame 0 (the tables of a first-direction run are there).
import sys, os, dbf
from dbfread import DBF
k = sys.argv[1]
first = lambda name: next(iter(DBF(os.path.join(k, name + '.DBF'), encoding='cp1252')))
teacher, assignment, slot = first('PROFT'), first('ASIGT'), first('DIASHORAST')
table = dbf.Table(os.path.join(k, 'SOLUC.DBF'),
                  'PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(2); ASIG C(10); '
                  'CODGRUPO C(10); TAREA C(12); AULA C(10)', dbf_type='db3', codepage='cp1252')
table.open(dbf.READ_WRITE)
table.append((teacher['ABREV'], int(slot['DIA']), int(slot['HORA']), slot['MARCO'],
              assignment['CASIG'], assignment['CGRUP'], '', ''))
table.close()
