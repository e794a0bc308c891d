"""Times both directions of zentrova-cli against `xmllint --noout` on the same file and
shows their peak memory as a multiple of that file's size.

For each scale K: the sample export grown K times (scale_export.py), an exchange folder
that `exportar` filled once and make_soluc.py gave a SOLUC, then RUNS runs of each command
after one that is not counted, each run of ours followed by one of xmllint, so that a drift
of the machine's speed touches both alike:

- exportar (direction one) and revisar, next to xmllint on the export;
- importar (direction two), next to xmllint on its result.

Every figure is the median over the runs: wall-clock seconds, processor seconds (user and
system, which a busy machine disturbs less) and each run's own maximum resident set
(/usr/bin/time), shown in megabytes and as a multiple of the file's size. Nothing here judges
the figures.

With REFERENCE, another build of zentrova-cli (the one before a change), each scale's
tables and result are also made by it and compared with ours byte for byte, but for the
dates they record (scripts/without_dates.py); a difference stops the script.

When CLI knows `--informe`, `exportar` is also timed writing its report (exportar+i): the
cost of the findings when someone asks for them; otherwise nobody observes the conversion.

Last, unless ZENTROVA_BENCH_BIG_VALUE_MB is 0, the sample with one value of that many
megabytes (50; a teacher's first surname, which the table cuts to its width) is given to
exportar and revisar, each run once, with its peak memory as a multiple of the export's size.

Usage: ratios.py CLI WORK RUNS K [K ...]   (REFERENCE from ZENTROVA_REFERENCE_CLI)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BENCH = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(BENCH, '..', 'data', 'muestra', 'instituto.xml')
FRAMES = ['--marcos', 'M,T']
sys.path.insert(0, os.path.join(BENCH, '..', 'scripts'))
from without_dates import without_dates  # noqa: E402


def run(command):
    """Wall seconds, processor seconds (user and system) and peak resident kilobytes of one
    run; its output is thrown away. The peak is the one /usr/bin/time reports: a child of this
    script would start from the script's own resident set, which Linux counts in its peak."""
    with tempfile.NamedTemporaryFile('r') as peak, open(os.devnull, 'wb') as null:
        start = time.perf_counter()
        child = subprocess.Popen(['/usr/bin/time', '-f', '%M', '-o', peak.name] + command,
                                 stdin=subprocess.DEVNULL, stdout=null, stderr=null)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.perf_counter() - start
        child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            sys.exit('%s ended with %d' % (' '.join(command), child.returncode))
        return seconds, usage.ru_utime + usage.ru_stime, int(peak.read().split()[-1])


def paired(ours, xmllint, runs):
    """The medians of each figure of run() for `ours` and for `xmllint`."""
    run(ours)
    run(xmllint)
    ours_runs, xmllint_runs = [], []
    for _ in range(runs):
        ours_runs.append(run(ours))
        xmllint_runs.append(run(xmllint))
    return ([statistics.median(figure) for figure in zip(*ours_runs)],
            [statistics.median(figure) for figure in zip(*xmllint_runs)])


def prepare(cli, folder, k):
    """The export at scale k and an exchange folder with a SOLUC for it."""
    os.makedirs(folder, exist_ok=True)
    export = os.path.join(folder, 'export.xml')
    subprocess.run([sys.executable, os.path.join(BENCH, 'scale_export.py'), SAMPLE, str(k),
                    export], check=True)
    ktemp = os.path.join(folder, 'ktemp-importar')
    os.makedirs(ktemp, exist_ok=True)
    subprocess.run([cli, 'exportar', export, '--ktemp', ktemp] + FRAMES, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run([sys.executable, os.path.join(BENCH, 'make_soluc.py'), ktemp], check=True)
    return export, ktemp


def same_outputs(cli, reference, folder, export, ktemp):
    """Whether `reference` writes the same tables and the same result as `cli`."""
    same = True
    for who, program in (('ours', cli), ('reference', reference)):
        side = os.path.join(folder, who)
        os.makedirs(os.path.join(side, 'ktemp'), exist_ok=True)
        shutil.copy(export, side)
        subprocess.run([program, 'exportar', os.path.join(side, 'export.xml'), '--ktemp',
                        os.path.join(side, 'ktemp')] + FRAMES, check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run([program, 'importar', os.path.join(side, 'export.xml'), '--ktemp', ktemp],
                       check=True, stdout=subprocess.DEVNULL)
    names = sorted(os.listdir(os.path.join(folder, 'ours', 'ktemp')))
    pairs = [(os.path.join('ktemp', name), name) for name in names]
    pairs.append(('ResultadoOrbelinexport.xml', 'ResultadoOrbelinexport.xml'))
    for relative, name in pairs:
        contents = []
        for who in ('ours', 'reference'):
            with open(os.path.join(folder, who, relative), 'rb') as f:
                contents.append(without_dates(name, f.read()))
        if contents[0] != contents[1]:
            print('%s: distinto de lo que escribe %s' % (relative, reference), file=sys.stderr)
            same = False
    return same


def knows_informe(cli):
    help_text = subprocess.run([cli, 'exportar', '--help'], capture_output=True, text=True)
    return '--informe' in help_text.stdout + help_text.stderr


def with_big_value(out, megabytes):
    """The sample with a first surname of `megabytes` million letters in its first teacher."""
    with open(SAMPLE, encoding='latin-1') as f:
        text = f.read()
    surname = '<dato nombre_dato="APELLIDO1">'
    start = text.index(surname, text.index('seq="EMPLEADOS"')) + len(surname)
    end = text.index('</dato>', start)
    with open(out, 'w', encoding='latin-1') as f:
        f.write(text[:start] + 'x' * (megabytes * 1000000) + text[end:])


def big_value(cli, work, megabytes):
    folder = os.path.join(work, 'big-value')
    ktemp = os.path.join(folder, 'ktemp')
    os.makedirs(ktemp, exist_ok=True)
    export = os.path.join(folder, 'export.xml')
    with_big_value(export, megabytes)
    size = os.path.getsize(export)
    for name, command in (('exportar', [cli, 'exportar', export, '--ktemp', ktemp] + FRAMES),
                          ('revisar', [cli, 'revisar', export] + FRAMES)):
        wall, cpu, peak_kb = run(command)
        print('%5s %-10s %8.1f %8.3f %8s %6s %7.3f %7s %6s %8.1f %6.2f' %
              ('%dMB' % megabytes, name, size / 1e6, wall, '', '', cpu, '', '',
               peak_kb * 1024 / 1e6, peak_kb * 1024 / size), flush=True)


def main():
    cli, work, runs, scales = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:]
    reference = os.environ.get('ZENTROVA_REFERENCE_CLI')
    informe = knows_informe(cli)
    print('%5s %-10s %8s %8s %8s %6s %7s %7s %6s %8s %6s' %
          ('K', 'command', 'file_MB', 'seconds', 'xmllint', 'ratio', 'cpu_s', 'xmllint', 'ratio',
           'peak_MB', 'xfile'))
    for k in scales:
        folder = os.path.join(work, k)
        export, ktemp = prepare(cli, folder, k)
        if reference and not same_outputs(cli, reference, os.path.join(folder, 'same'), export,
                                          ktemp):
            sys.exit('K=%s: the outputs differ' % k)
        exportar_ktemp = os.path.join(folder, 'ktemp-exportar')
        os.makedirs(exportar_ktemp, exist_ok=True)
        result = os.path.join(folder, 'ResultadoOrbelinexport.xml')
        exportar = [cli, 'exportar', export, '--ktemp', exportar_ktemp] + FRAMES
        commands = [('exportar', exportar, export)]
        if informe:
            commands.append(('exportar+i',
                             exportar + ['--informe', os.path.join(folder, 'informe.txt')],
                             export))
        commands += [
            ('revisar', [cli, 'revisar', export] + FRAMES, export),
            ('importar', [cli, 'importar', export, '--ktemp', ktemp], result),
        ]
        for name, command, measured in commands:
            (wall, cpu, peak_kb), (xmllint_wall, xmllint_cpu, _) = paired(
                command, ['xmllint', '--noout', measured], runs)
            size = os.path.getsize(measured)
            print('%5s %-10s %8.1f %8.3f %8.3f %6.2f %7.3f %7.3f %6.2f %8.1f %6.2f' %
                  (k, name, size / 1e6, wall, xmllint_wall, wall / xmllint_wall, cpu, xmllint_cpu,
                   cpu / xmllint_cpu, peak_kb * 1024 / 1e6, peak_kb * 1024 / size), flush=True)
    megabytes = int(os.environ.get('ZENTROVA_BENCH_BIG_VALUE_MB', '50'))
    if megabytes > 0:
        big_value(cli, work, megabytes)


if __name__ == '__main__':
    main()
