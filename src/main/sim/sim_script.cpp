// Script runner (being written).
