#!/usr/bin/env bash
# Runs a program as a user would and shows what they would see: its output and error output
# together, then "exit N" with its exit code. Exits 0 itself, so that FileCheck judges the output.
"$@" 2>&1
echo "exit $?"
