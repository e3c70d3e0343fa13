#!/usr/bin/python
# -*- coding: utf-8 -*-

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: zrn_clock
short_description: Keep a ZRN field sampling controller's clock in step with the managed host
version_added: 2.1.0
description:
  - Compares the device clock with the managed host's clock with
    C(zrnctl clock check --max-drift SECONDS --json), and when the device is further off than
    I(max_drift) sets it with C(zrnctl clock sync --if-drift-over SECONDS --json).
  - The task is C(changed) when the clock was set.
  - In check mode the clock is compared and nothing is set.
  - The managed host's clock is the reference. zrnctl warns when it is not synchronised itself,
    and the warning is passed on.
options:
  max_drift:
    description:
      - The drift in seconds, either way, that the device clock may have before it is set.
    type: int
    default: 2
extends_documentation_fragment:
  - quorvanex.zrn.device
requirements:
  - zrnctl 2.1 or later on the managed host (C(clock check) and C(clock sync --if-drift-over))
seealso:
  - module: quorvanex.zrn.zrn_info
  - module: quorvanex.zrn.zrn_plan
notes:
  - Supports check mode.
  - A device that fails or does not answer fails the host with zrnctl's message.
'''

EXAMPLES = r'''
- name: Set the controller's clock when it is more than 5 seconds off
  quorvanex.zrn.zrn_clock:
    port: rfc2217://127.0.0.1:7000
    max_drift: 5
  register: clock

- name: How far off it was
  ansible.builtin.debug:
    msg: "{{ clock.drift }} s"
'''

RETURN = r'''
port:
  description: The device's port.
  returned: always
  type: str
  sample: /dev/ttyUSB0
drift:
  description: The device clock's drift from the managed host's clock, in seconds, before any
    sync, as C(zrnctl clock check) reports it.
  returned: success
  type: raw
  sample: -37
synced:
  description: Whether the clock was set (in check mode, whether it would be).
  returned: success
  type: bool
check:
  description: The device's entry of C(zrnctl clock check --json).
  returned: success
  type: dict
sync:
  description: The device's entry of C(zrnctl clock sync --json).
  returned: when the clock was set
  type: dict
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.quorvanex.zrn.plugins.module_utils.zrnctl import (
    COMMON_ARGS, EXIT_DIFFERS, fail_run, run_zrnctl, warn_stderr)


def main():
    module = AnsibleModule(
        argument_spec=dict(COMMON_ARGS, max_drift=dict(type='int', default=2)),
        supports_check_mode=True)
    port = module.params['port']
    max_drift = module.params['max_drift']
    if max_drift < 0:
        module.fail_json(msg='max_drift: %d is below 0' % max_drift, port=port)
    seconds = str(max_drift)

    check = run_zrnctl(module, ['clock', 'check', '--max-drift', seconds])
    if check.failure() is not None:
        fail_run(module, check, port=port)
    warn_stderr(module, check)
    beyond = check.rc == EXIT_DIFFERS or check.entry.get('result') == 'differs'
    result = dict(changed=False, port=port, drift=check.entry.get('drift'), synced=False,
                  check=check.entry)
    if not beyond:
        module.exit_json(**result)
    if module.check_mode:
        result.update(changed=True, synced=True)
        module.exit_json(**result)

    # Beyond a moment ago; zrnctl decides again on its own reading.
    sync = run_zrnctl(module, ['clock', 'sync', '--if-drift-over', seconds])
    if sync.failure() is not None:
        fail_run(module, sync, port=port, drift=result['drift'], check=check.entry)
    warn_stderr(module, sync)
    synced = bool(sync.entry.get('changed', True))
    result.update(changed=synced, synced=synced, sync=sync.entry)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
