"""Writes SOLUC.DBF into an exchange folder that `zentrova-cli exportar` has filled, as the
timetabling product would leave it for a centre of that size: LESSONS lessons (20 unless
given) for every teacher of PROFT, each of an assignment of ASIGT in a slot of DIASHORAST
and, two lessons in three, a room of AULAT; one lesson in ten is an activity with a code
of its own (TAREA), one in fifty has no day. The choice is spread over the tables by
arithmetic alone, so the same folder always gives the same table.

The rows are written as a dBASE III table by hand: appending them one by one through
python3-dbf takes minutes at the largest scales.

Usage: make_soluc.py KTEMP [LESSONS]
"""
import os
import struct
import sys

from dbfread import DBF

FIELDS = [('PROF', 'C', 10, 0), ('DIA', 'N', 2, 0), ('HORA', 'N', 2, 0), ('MARCO', 'C', 2, 0),
          ('ASIG', 'C', 10, 0), ('CODGRUPO', 'C', 10, 0), ('TAREA', 'C', 12, 0),
          ('AULA', 'C', 10, 0)]
CP1252 = 0x57  # the language driver of a cp1252 table


def rows_of(ktemp, name, *fields):
    table = DBF(os.path.join(ktemp, name + '.DBF'), encoding='cp1252')
    return [tuple(record[field] for field in fields) for record in table]


def encoded(value, kind, width):
    if kind == 'N':
        return str(value).rjust(width).encode('ascii')
    return value.encode('cp1252', 'replace')[:width].ljust(width, b' ')


def write_table(path, rows):
    record_length = 1 + sum(width for _, _, width, _ in FIELDS)
    header_length = 32 + 32 * len(FIELDS) + 1
    with open(path, 'wb') as out:
        out.write(struct.pack('<BBBBIHH16xBB2x', 0x03, 126, 1, 1, len(rows), header_length,
                              record_length, 0, CP1252))
        for name, kind, width, decimals in FIELDS:
            out.write(struct.pack('<11sc4xBB14x', name.encode('ascii'), kind.encode('ascii'),
                                  width, decimals))
        out.write(b'\r')
        for row in rows:
            out.write(b' ' + b''.join(encoded(value, kind, width)
                                      for value, (_, kind, width, _) in zip(row, FIELDS)))
        out.write(b'\x1a')


def main():
    ktemp = sys.argv[1]
    lessons = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    teachers = rows_of(ktemp, 'PROFT', 'ABREV')
    assignments = rows_of(ktemp, 'ASIGT', 'CASIG', 'CGRUP')
    slots = rows_of(ktemp, 'DIASHORAST', 'DIA', 'DIHO', 'MARCO')
    rooms = rows_of(ktemp, 'AULAT', 'ABREV')
    rows = []
    for t, (teacher,) in enumerate(teachers):
        for lesson in range(lessons):
            n = t * lessons + lesson
            subject, group = assignments[(t * 7 + lesson) % len(assignments)]
            day, slot_key, frame = slots[(t * 5 + lesson * 3) % len(slots)]
            hour = int(slot_key[len(day):])
            rows.append((teacher, 0 if n % 50 == 49 else int(day), hour, frame, subject, group,
                         'TAREA%d' % (n % 7) if n % 10 == 3 else '',
                         rooms[n % len(rooms)][0] if n % 3 else ''))
    write_table(os.path.join(ktemp, 'SOLUC.DBF'), rows)


if __name__ == '__main__':
    main()
