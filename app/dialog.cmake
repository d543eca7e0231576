# The Windows dialog; filled in with the dialog layer.
