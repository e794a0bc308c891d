# Writes SOLUC.DBF into the exchange folder given as the first argument, as the timetabling
# product leaves it: one lesson of the first assignment's group and subject, taught by the
# first teacher in the first slot of frame 0 (the tables of a first-direction run are there).
import sys, os
from dbfread import DBF
import soluc
k = sys.argv[1]
first = lambda name: next(iter(DBF(os.path.join(k, name + '.DBF'), encoding='cp1252')))
teacher, assignment, slot = first('PROFT'), first('ASIGT'), first('DIASHORAST')
soluc.write(k, [(teacher['ABREV'], int(slot['DIA']), int(slot['HORA']), slot['MARCO'],
                 assignment['CASIG'], assignment['CGRUP'], '', '')])
