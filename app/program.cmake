# The Qt platform layer, the dialogs and the ZRNcom executable.
