# zephrel-install run as a user runs it: each test gets a fresh folder of its own in the build
# tree, `$inst` is the program, and the script echoes what it found (the exit code as "exit=N")
# for the expected output to match.
function(zephrel_install_cli_test name script pass)
    add_test(NAME zephrel_install_${name}
             COMMAND sh -c "d=install-cli-${name}; rm -rf \"$d\" && mkdir \"$d\" && cd \"$d\" && inst=$<TARGET_FILE:zephrel-install> && ${script}")
    set_tests_properties(zephrel_install_${name} PROPERTIES PASS_REGULAR_EXPRESSION "${pass}")
endfunction()

set(zephrel_install_exit [=[echo "exit=$?"]=])

zephrel_install_cli_test(WithoutAnActionPrintsUsage
    "\$inst --appdata . 2>&1; ${zephrel_install_exit}"
    "zephrel-install: add or remove is required\nusage: zephrel-install add\\|remove .*exit=2")
zephrel_install_cli_test(HelpPrintsUsage
    "\$inst --help; ${zephrel_install_exit}"
    "^usage: zephrel-install add\\|remove .*--product NAME .*exit=0")
zephrel_install_cli_test(BadArgumentsAreRefused
    "\$inst add --bogus 2>&1; ${zephrel_install_exit}; \$inst add --name 2>&1; ${zephrel_install_exit}; \$inst add remove 2>&1; ${zephrel_install_exit}; echo \"left: $(ls)end\""
    "unknown argument --bogus\n.*exit=2\nzephrel-install: --name needs a value\n.*exit=2\nzephrel-install: one action only, not remove as well\n.*exit=2\nleft: end")
zephrel_install_cli_test(NoApplicationDataFolder
    "env -u APPDATA \$inst remove 2>&1; ${zephrel_install_exit}"
    "no application data folder: give --appdata or set APPDATA\n.*exit=2")
zephrel_install_cli_test(NoModuleToRegister
    "\$inst add --appdata . --file Missing.so 2>&1; ${zephrel_install_exit}"
    "no Missing.so found beside this program or in the build; give --installdir\n.*exit=2")
# $APPDATA and the module the build wrote.
zephrel_install_cli_test(DefaultsAreTheSimulatorsFolderAndTheBuiltModule
    "mkdir app && APPDATA=app \$inst add >/dev/null; ${zephrel_install_exit}; grep -o '<Path>.*</Path>' app/Microsoft/FSX/dll.xml"
    "exit=0\n<Path>$<TARGET_FILE_DIR:Zephrel_FSX>/Zephrel_FSX.so</Path>")
zephrel_install_cli_test(EveryPropertyFromTheCommandLine
    "\$inst add --appdata . --installdir /opt/z --name 'My Add-on' --file z.so; ${zephrel_install_exit}; grep -o -e '<Name>.*</Name>' -e '<Path>.*</Path>' Microsoft/FSX/dll.xml; \$inst remove --appdata . --product 'My Product' 2>&1; ${zephrel_install_exit}"
    "AddLaunchAddon: 0\n  AppDataFolder=/[^\n]*/install-cli-EveryPropertyFromTheCommandLine/\n  FSXADDLAUNCHRESULT=1\n  FSXADDONFILE=z.so\n  FSXADDONNAME=My Add-on\n  INSTALLDIR=/opt/z/\n  ProductName=Zephrel\nexit=0\n<Name>My Add-on</Name>\n<Path>/opt/z/z.so</Path>\n.*My Product: Launch addon entry could not be removed from dll.xml file!\n.*RemoveLaunchAddon: 1626\n.*exit=1")
zephrel_install_cli_test(AFileThatDoesNotLoadFailsTheAction
    "mkdir -p Microsoft/FSX && echo '<SimBase.Document>' > Microsoft/FSX/dll.xml && \$inst add --appdata . --installdir /opt/z 2>&1; ${zephrel_install_exit}; cat Microsoft/FSX/dll.xml; ls Microsoft/FSX; echo end"
    "AddonRegistrar: AddLaunchAddon: [^\n]*dll.xml: not well-formed: [^\n]*\nAddLaunchAddon: 1626\n.*FSXADDLAUNCHRESULT=0\n.*exit=1\n<SimBase.Document>\ndll.xml\nend")

# The library shows the installer its two actions and nothing else.
add_test(NAME AddonRegistrar_exports_only_the_two_actions
         COMMAND sh -c "nm -D --defined-only $<TARGET_FILE:AddonRegistrar> | awk '{print $3}' | sort | tr '\\n' ' '; echo end")
set_tests_properties(AddonRegistrar_exports_only_the_two_actions PROPERTIES
                     PASS_REGULAR_EXPRESSION "^AddLaunchAddon RemoveLaunchAddon end")
