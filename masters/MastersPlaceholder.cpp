// The master-data windows of the school office live in this folder.
