#!/usr/bin/python
# -*- coding: utf-8 -*-

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: zrn_info
short_description: Read a ZRN field sampling controller
version_added: 2.1.0
description:
  - Reads one ZRN controller with C(zrnctl info --json) on the managed host and returns what it
    read; firmware, battery, the device clock beside the host's, SDI-12 settings, SDI-12
    identification and the four schedules.
  - Sends no set command to the device.
extends_documentation_fragment:
  - quorvanex.zrn.device
requirements:
  - zrnctl 2.1 or later on the managed host
seealso:
  - module: quorvanex.zrn.zrn_plan
  - module: quorvanex.zrn.zrn_clock
notes:
  - Supports check mode; it reads the same way in check mode.
  - A device that does not answer fails the host with zrnctl's message.
'''

EXAMPLES = r'''
- name: Read the controller behind the site's gateway
  quorvanex.zrn.zrn_info:
    port: rfc2217://127.0.0.1:7000
  register: zrn

- name: Show its firmware and battery
  ansible.builtin.debug:
    msg: "{{ zrn.info.firmware }}, {{ zrn.info.battery.external }} V"
'''

RETURN = r'''
port:
  description: The port that was read.
  returned: always
  type: str
  sample: rfc2217://127.0.0.1:7000
info:
  description: What zrnctl read from the device, as C(zrnctl info --json) reports it.
  returned: success
  type: dict
  contains:
    firmware:
      description: Firmware version.
      type: str
      sample: "2:07"
    battery:
      description: External and internal battery voltage, as text.
      type: dict
      sample: {"external": "12.6", "internal": "3.1"}
    clock:
      description: The device clock beside the managed host's clock.
      type: dict
    sdi:
      description: SDI-12 settings, in the plan file's names and forms.
      type: dict
      sample: {"address": "3", "delay": 42, "valve": "01:30", "hold": "01:00", "pump": "01:00"}
    identification:
      description: SDI-12 identification.
      type: dict
    schedules:
      description: The four schedules, in the plan file's keys.
      type: list
      elements: dict
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.quorvanex.zrn.plugins.module_utils.zrnctl import (
    COMMON_ARGS, entry_details, fail_run, run_zrnctl, warn_stderr)


def main():
    module = AnsibleModule(argument_spec=dict(COMMON_ARGS), supports_check_mode=True)
    run = run_zrnctl(module, ['info'])
    if run.failure() is not None:
        fail_run(module, run, port=module.params['port'])
    warn_stderr(module, run)
    module.exit_json(changed=False, port=module.params['port'], info=entry_details(run.entry))


if __name__ == '__main__':
    main()
