# The Qt window: see the GUI files in this folder.
