# -*- coding: utf-8 -*-
# Running zrnctl --json on the managed host for one port, shared by the modules.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json
import os

# zrnctl's exit statuses.
EXIT_DONE = 0
EXIT_DEVICE_FAILED = 1
EXIT_BAD_USAGE = 2
EXIT_DIFFERS = 3

COMMON_ARGS = dict(
    port=dict(type='str', required=True),
    zrnctl=dict(type='path'),
)


def zrnctl_path(module):
    """The zrnctl program: the one given, or the one on PATH."""
    given = module.params.get('zrnctl')
    if not given:
        return module.get_bin_path('zrnctl', required=True)
    if os.sep in given:
        if not (os.path.isfile(given) and os.access(given, os.X_OK)):
            module.fail_json(msg='zrnctl: %s is not an executable file' % given)
        return given
    return module.get_bin_path(given, required=True)


class Run(object):
    """One zrnctl run: its status, its output and the entry for our port."""

    def __init__(self, rc, stdout, stderr, report, entry):
        self.rc = rc
        self.stdout = stdout
        self.stderr = stderr
        self.report = report
        self.entry = entry

    def failure(self):
        """zrnctl's own words for what went wrong, or None."""
        result = self.entry.get('result') if self.entry else None
        failed = result in ('failed', 'refused', 'no device')
        if self.rc in (EXIT_DONE, EXIT_DIFFERS) and self.entry is not None and not failed:
            return None
        if failed and self.entry.get('message'):
            return self.entry['message']
        # Bad usage or a bad plan file: told on standard error, with no report.
        text = (self.stderr or '').strip() or (self.stdout or '').strip()
        if self.rc in (EXIT_DONE, EXIT_DIFFERS):
            return 'zrnctl reported nothing for this port' + (': ' + text if text else '')
        return text or 'zrnctl exited with status %d' % self.rc


def run_zrnctl(module, args):
    """zrnctl --port PORT --json ARGS, without a shell."""
    port = module.params['port']
    # --port=VALUE: a port can never be read as a switch of its own.
    command = [zrnctl_path(module), '--port=' + port, '--json'] + list(args)
    rc, stdout, stderr = module.run_command(command)
    report = None
    entry = None
    try:
        report = json.loads(stdout) if stdout.strip() else None
    except ValueError:
        report = None
    if isinstance(report, dict):
        results = report.get('results') or []
        for candidate in results:
            if isinstance(candidate, dict) and candidate.get('port') == port:
                entry = candidate
                break
        if entry is None and len(results) == 1 and isinstance(results[0], dict):
            entry = results[0]
    return Run(rc, stdout, stderr, report, entry)


def fail_run(module, run, **extra):
    """Fails the host with zrnctl's message, keeping what it printed."""
    module.fail_json(msg=run.failure(), rc=run.rc, stdout=run.stdout, stderr=run.stderr,
                     result=run.entry, **extra)


def warn_stderr(module, run):
    """zrnctl's warnings beside a success (an unsynchronised PC clock, a
    journal that cannot be written): its report's list, else what it said on
    standard error."""
    told = module.__dict__.setdefault('_zrnctl_warned', set())
    lines = run.report.get('warnings') if isinstance(run.report, dict) else None
    if not isinstance(lines, list):
        lines = (run.stderr or '').splitlines()
    for line in lines:
        line = str(line).strip()
        if line and line not in told:
            told.add(line)
            module.warn(line)


def entry_details(entry):
    """The device's entry without the keys every entry has."""
    return dict((k, v) for k, v in entry.items() if k not in ('port', 'result', 'message'))
