#!/bin/sh
# The strip CPack runs on each installed binary: symbols, and the compiler's .comment and .note
# sections, which say nothing at run time (as Debian's own packaging strips them).
exec strip --remove-section=.comment --remove-section=.note "$@"
