# Offscreen dialog and end-to-end tests of the program.
