#pragma once
// Every text that goes between the program and the device: command builders
// and reply parsers.
