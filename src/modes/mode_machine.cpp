// Mode machine (being written).
