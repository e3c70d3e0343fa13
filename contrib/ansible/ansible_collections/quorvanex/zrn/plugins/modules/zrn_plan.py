#!/usr/bin/python
# -*- coding: utf-8 -*-

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: zrn_plan
short_description: Keep a ZRN field sampling controller on a plan file
version_added: 2.1.0
description:
  - Applies a plan file (schedules and SDI-12 settings) to one ZRN controller with
    C(zrnctl plan import --json) on the managed host. zrnctl writes only what differs from what
    the device holds, reads it back, and keeps a backup of what the device held before its first
    write.
  - The task is C(changed) when zrnctl wrote to the device, so a second run of the same plan is
    not changed.
  - In check mode the device is compared with the plan by C(zrnctl plan diff --json) and nothing
    is sent to it. When it differs, C(zrnctl plan import --dry-run --json) checks that the plan
    fits the device, so a plan the import would refuse fails the host in check mode too.
  - With C(--diff) the fields that differ are shown, as the device holds them and as the plan
    wants them.
options:
  plan:
    description:
      - The plan file on the managed host (see docs/plan-format.md); copy it there first, for
        example with M(ansible.builtin.copy).
    type: path
    required: true
extends_documentation_fragment:
  - quorvanex.zrn.device
requirements:
  - zrnctl 2.1 or later on the managed host (C(plan diff), and C(plan import) writing only what
    differs)
seealso:
  - module: quorvanex.zrn.zrn_info
  - module: quorvanex.zrn.zrn_clock
notes:
  - Supports check mode and diff mode.
  - A plan file that zrnctl refuses, a plan that does not fit the device, and a device that fails
    or does not answer all fail the host with zrnctl's message.
  - With C(--diff) outside check mode the device is compared first and then imported, so it is
    read twice.
'''

EXAMPLES = r'''
- name: Put the season's plan on the managed host
  ansible.builtin.copy:
    src: plans/{{ inventory_hostname }}.json
    dest: /var/lib/zrn/plan.json
    mode: "0644"

- name: Keep the controller on it
  quorvanex.zrn.zrn_plan:
    port: rfc2217://127.0.0.1:7000
    plan: /var/lib/zrn/plan.json
  register: applied

- name: Where zrnctl kept what the device held before
  ansible.builtin.debug:
    var: applied.backup
  when: applied.changed
'''

RETURN = r'''
differences:
  description:
    - What differs between the device and the plan, one element per field, as
      C(zrnctl plan diff --json) reports it. C(schedule) is null for an SDI-12 setting.
    - Returned in check mode, and with C(--diff).
  returned: when compared
  type: list
  elements: dict
  sample: [{"schedule": 1, "field": "start", "device": "2027-06-02T08:00:00",
            "plan": "2027-06-20T07:00:00"}]
backup:
  description: The plan file where zrnctl kept what the device held before it wrote.
  returned: when zrnctl wrote and kept a backup
  type: str
result:
  description: The device's entry of zrnctl's JSON report, as it printed it.
  returned: always
  type: dict
port:
  description: The device's port.
  returned: always
  type: str
  sample: /dev/ttyUSB0
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.quorvanex.zrn.plugins.module_utils.zrnctl import (
    COMMON_ARGS, EXIT_DIFFERS, fail_run, run_zrnctl, warn_stderr)

import os


def where(difference):
    schedule = difference.get('schedule')
    return 'sdi' if schedule is None else 'schedule %s' % schedule


def side_text(differences, side):
    """One "where field: value" line per difference, for one side."""
    lines = []
    for difference in differences:
        field = difference.get('field', '?')
        if field.startswith('sdi.'):
            field = field[len('sdi.'):]
        value = difference.get(side)
        if value is None:
            value = '-'
        lines.append('%s %s: %s\n' % (where(difference), field, value))
    return ''.join(lines)


def diff_of(port, plan, differences):
    return dict(before=side_text(differences, 'device'), after=side_text(differences, 'plan'),
                before_header='%s (device)' % port, after_header=plan)


def compare(module, plan):
    """plan diff: the differences and the whole run."""
    run = run_zrnctl(module, ['plan', 'diff', plan])
    if run.failure() is not None:
        fail_run(module, run, port=module.params['port'])
    differences = run.entry.get('differences') or []
    differs = run.rc == EXIT_DIFFERS or run.entry.get('result') == 'differs' or bool(differences)
    return run, differs, differences


def main():
    module = AnsibleModule(
        argument_spec=dict(COMMON_ARGS, plan=dict(type='path', required=True)),
        supports_check_mode=True)
    port = module.params['port']
    # Absolute, so that a file name can never be taken for a switch.
    plan = os.path.abspath(module.params['plan'])

    result = dict(changed=False, port=port)
    differences = None
    if module.check_mode or module._diff:
        run, differs, differences = compare(module, plan)
        warn_stderr(module, run)
        result.update(differences=differences, result=run.entry)
        if module._diff:
            result['diff'] = diff_of(port, plan, differences)
        if module.check_mode:
            if differs:
                # plan diff compares only; the dry run also refuses a plan that does not
                # fit the device, as the import would, and sends nothing either.
                dry = run_zrnctl(module, ['plan', 'import', '--dry-run', plan])
                if dry.failure() is not None:
                    fail_run(module, dry, port=port, differences=differences)
                warn_stderr(module, dry)
            result['changed'] = differs
            module.exit_json(**result)

    run = run_zrnctl(module, ['plan', 'import', plan])
    if run.failure() is not None:
        fail_run(module, run, port=port)
    warn_stderr(module, run)
    # A zrnctl that does not say whether it wrote is taken to have written.
    result['changed'] = bool(run.entry.get('changed', True))
    result['result'] = run.entry
    if run.entry.get('backup'):
        result['backup'] = run.entry['backup']
    module.exit_json(**result)


if __name__ == '__main__':
    main()
