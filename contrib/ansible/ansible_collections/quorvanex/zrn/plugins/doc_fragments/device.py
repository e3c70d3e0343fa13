# -*- coding: utf-8 -*-
# What every module of the collection shares: where the device is, which
# zrnctl reaches it, and who wrote it.

from __future__ import absolute_import, division, print_function
__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r'''
options:
  port:
    description:
      - The device's port on the managed host, as zrnctl names it.
      - A serial port such as C(/dev/ttyUSB0), or a network gateway as
        C(rfc2217://HOST:PORT) or C(tcp://HOST:PORT).
    type: str
    required: true
  zrnctl:
    description:
      - The zrnctl program on the managed host, a path or a name looked up in C(PATH).
      - When not given, C(zrnctl) is looked up in C(PATH).
    type: path
author:
  - ZRNcom developers
'''
