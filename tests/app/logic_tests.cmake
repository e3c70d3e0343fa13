# Unit tests of zrnapp_logic.
