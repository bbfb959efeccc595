#!/bin/bash
# snapshot.sh DIR OUT: what must survive any batch under DIR, whatever the names become: the
# contents of every file (each test file has one unique line), sorted, and the number of
# folders and of symbolic links. A file lost, replaced or doubled changes it.
set -euo pipefail
dir=$1
{
    find "$dir" -type f -execdir cat -- {} + | LC_ALL=C sort
    echo "folders $(find "$dir" -type d -printf x | wc -c)"
    echo "links $(find "$dir" -type l -printf x | wc -c)"
} >"$2"
