# The subsystem folders, in the order their modules are added; src/ and tests/ each add
# the folders of this list that exist.
set(MERVENTA_SUBSYSTEMS storage records server app cards lists catalogue reports customers suppliers checks
    search attachments export report charts labels import archives shell)
