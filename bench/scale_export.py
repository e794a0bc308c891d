"""Writes a larger export from the sample: every record of the data groups repeated K
times, numeric codes moved by 100000 per copy (subjects keep theirs, so that their codes
and names repeat), frames, slots and courses as they are.

Usage: scale_export.py SAMPLE.xml K OUT.xml
"""
import re
import sys

KEPT = ('ANNO_ACADEMICO', 'JORNADAS_ESCOLARES', 'TRAMOS_HORARIOS', 'CURSOS_DEL_CENTRO')


def shifted(record, copy):
    return re.sub(r'>(\d+)</dato>',
                  lambda m: '>%d</dato>' % (int(m.group(1)) + 100000 * copy), record)


def grown(match, k):
    head, body, tail = match.groups()
    seq = re.search(r'seq="([^"]+)"', head).group(1)
    if seq in KEPT:
        return match.group(0)
    records = re.findall(r'<grupo_datos>.*?</grupo_datos>', body, re.S)
    copies = [record if copy == 0 or seq == 'MATERIAS' else shifted(record, copy)
              for copy in range(k) for record in records]
    return head + '\n'.join(copies) + tail


def main():
    sample, k, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    with open(sample, encoding='latin-1') as f:
        text = f.read()
    group = r'(<grupo_datos seq="[^"]+"[^>]*>)(.*?)(</grupo_datos>\s*(?=<grupo_datos seq|</BLOQUE_DATOS))'
    text = re.sub(group, lambda m: grown(m, k), text, flags=re.S)
    with open(out, 'w', encoding='latin-1') as f:
        f.write(text)


if __name__ == '__main__':
    main()
