# The ZflConverter program run as a user runs it: each test gets a fresh folder of its own in the
# build tree, `$conv` is the program, and the script echoes what it found (the exit code as
# "exit=N", what is left in the folder as "left: <names> end") for the expected output to match.
# A message box of a program without windows shows on stderr as "Zephrel Converter: <text>".
function(zfl_converter_cli_test name script pass)
    add_test(NAME ZflConverter_${name}
             COMMAND sh -c "d=cli-${name}; rm -rf \"$d\" && mkdir \"$d\" && cd \"$d\" && conv=$<TARGET_FILE:ZflConverter> && ${script}")
    set_tests_properties(ZflConverter_${name} PROPERTIES PASS_REGULAR_EXPRESSION "${pass}" ${ARGN})
endfunction()

# Two seconds of a flight, as a person writes it; altitudes 1000 and 1010.
set(zfl_cli_text [=[printf '#Aircraft: "Piper Cub"\n#Data: timestamp latitude longitude altitude pitch bank heading\n0 47.5 8.5 1000 0 0 90\n1 47.5 8.5 1010 0 0 90\n' > in.txt]=])
# Latitude and altitude of each data line of an export (the data lines start with blanks).
set(zfl_cli_columns [=[$(awk '/^ /{printf "%s %s ", $2, $4}' out.txt)]=])
set(zfl_cli_left [=[echo "left: $(ls | tr '\n' ' ')end"]=])

zfl_converter_cli_test(TwoWordsAreRefused
    [=[$conv only.zfl 2>&1; echo "exit=$?"]=]
    "Zephrel Converter: Invalid command line arguments!\nexit=1")
zfl_converter_cli_test(FiveWordsAreRefused
    "${zfl_cli_text}; \$conv in.txt out.zfl -m -m 2>&1; echo \"exit=\$?\"; ${zfl_cli_left}"
    "Zephrel Converter: Invalid command line arguments!\nexit=1\nleft: in.txt end")
zfl_converter_cli_test(UpperCaseMIsRefused
    "${zfl_cli_text}; \$conv in.txt out.zfl -M 2>&1; echo \"exit=\$?\"; ${zfl_cli_left}"
    "Zephrel Converter: Invalid command line argument!\nexit=1\nleft: in.txt end")

# Text to recording and back: a 1000 ft altitude stays 1000 ft.
zfl_converter_cli_test(RoundTripKeepsTheFlight
    "${zfl_cli_text} && \$conv in.txt flight.zfl && \$conv flight.zfl out.txt && grep -qx '#Aircraft: \"Piper Cub\"' out.txt && echo \"data: ${zfl_cli_columns}\""
    "data: 47.5000000000 1000.000 47.5000000000 1010.000 \n")
# Imported as metres, exported as feet (1000 / 0.3048 = 3280.840) and as metres.
zfl_converter_cli_test(MinusMReadsAndWritesMetres
    "${zfl_cli_text} && \$conv in.txt flight.zfl -m && \$conv flight.zfl out.txt && echo \"feet: ${zfl_cli_columns}\" && \$conv flight.zfl out.txt -m && echo \"metres: ${zfl_cli_columns}\""
    "feet: 47.5000000000 3280.840 47.5000000000 3313.648 \nmetres: 47.5000000000 1000.000 47.5000000000 1010.000 \n")
zfl_converter_cli_test(QuotedPathsWithSpaces
    "mkdir 'my flights' && cd 'my flights' && ${zfl_cli_text} && mv in.txt 'in text.txt' && \$conv 'in text.txt' 'a flight.ZFL' && \$conv 'a flight.ZFL' 'out text.txt' && mv 'out text.txt' out.txt && echo \"data: ${zfl_cli_columns}\""
    "data: 47.5000000000 1000.000 47.5000000000 1010.000 \n")

# Failures: the message, exit code 1, nothing written.
zfl_converter_cli_test(DamagedRecordingIsUnexpected
    "echo 'This is no recording.' > damaged.zfl; \$conv damaged.zfl out.txt 2>&1; echo \"exit=\$?\"; ${zfl_cli_left}"
    "Zephrel Converter: An unexpected error occurred!\nexit=1\nleft: damaged.zfl end")
zfl_converter_cli_test(MissingInput
    "\$conv missing.txt out.zfl 2>&1; echo \"exit=\$?\"; \$conv missing.zfl out.txt 2>&1; echo \"exit=\$?\"; ${zfl_cli_left}"
    "Zephrel Converter: File missing.txt could not be opened!\nexit=1\nZephrel Converter: An unexpected error occurred!\nexit=1\nleft: end")
zfl_converter_cli_test(OutputInAMissingFolder
    "${zfl_cli_text} && \$conv in.txt flight.zfl && { \$conv flight.zfl nowhere/out.txt 2>&1; echo \"exit=\$?\"; \$conv in.txt nowhere/out.zfl 2>&1; echo \"exit=\$?\"; ${zfl_cli_left}; }"
    "Zephrel Converter: File nowhere/out.txt could not be opened!\nexit=1\nZephrel Converter: An unexpected error occurred!\nexit=1\nleft: flight.zfl in.txt end")
zfl_converter_cli_test(BadTextShowsItsLine
    "printf '#Aircraft: \"Piper Cub\"\\n#Dta: latitude\\n' > in.txt; \$conv in.txt out.zfl 2>&1; echo \"exit=\$?\"; ${zfl_cli_left}"
    "Zephrel Converter: Invalid entry: #Dta: latitude\nexit=1\nleft: in.txt end")
