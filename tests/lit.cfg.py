# The command-line tests: one file per case under tests/<folder>/cli/, run by LLVM's lit with
# FileCheck. A case's RUN lines run in one shell (bash) in the order given; CHECK lines say what
# the output of a RUN line piped into FileCheck must show (see tests/cli/README.md).
import os

import lit.formats

config.name = "Zephrel command lines"
config.test_format = lit.formats.ShTest(execute_external=True)
config.suffixes = [".test"]
config.excludes = ["Inputs"]
config.test_source_root = os.path.dirname(__file__)
# %t and the other scratch paths go to the build folder, never into the sources.
config.test_exec_root = lit_config.params["exec_root"]

# The programs as the build made them, one "name=path" line each: %conv, %zfl-info, ...
substitutions = []
with open(lit_config.params["programs"]) as programs:
    for line in programs:
        name, _, path = line.strip().partition("=")
        if name:
            substitutions.append(("%" + name, path))
substitutions.append(("%status", "bash " + os.path.join(config.test_source_root, "cli", "status.sh")))
substitutions.append(("%inputs", os.path.join(config.test_source_root, "cli", "Inputs")))
# Longer names first, so that %sim-root is not read as %sim followed by "-root".
substitutions.sort(key=lambda pair: len(pair[0]), reverse=True)
config.substitutions.extend(substitutions)

config.environment["PATH"] = lit_config.params["llvm_bin"] + os.pathsep + os.environ["PATH"]
for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TMPDIR"):
    if name in os.environ:
        config.environment[name] = os.environ[name]
