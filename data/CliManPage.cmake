# Writes the manual page of tulvo-cli, OUTPUT, and its gzip -9n copy OUTPUT.gz:
#   cmake -D CLI=<tulvo-cli> -D HELP2MAN=<help2man> -D INCLUDE=<tulvo-cli.h2m> -D OUTPUT=<page>
#         -D EPOCH=<release date, seconds since 1970> -P CliManPage.cmake
# help2man makes the page from `tulvo-cli --help` and `--version`; each command listed in the
# help that has a help text of its own (`tulvo-cli COMMAND --help`) gets it in a section of the
# page too. INCLUDE adds the hand-written sections.

foreach(var CLI HELP2MAN INCLUDE OUTPUT EPOCH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CliManPage.cmake: ${var} is not set")
  endif()
endforeach()

# The page's date is the release date, and help2man's English month names need the C locale.
set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
set(ENV{LC_ALL} C)

execute_process(COMMAND "${CLI}" --help OUTPUT_VARIABLE main_help COMMAND_ERROR_IS_FATAL ANY)

# Sets out_var to text as roff prints it in no-fill mode. Roff reads a backslash as an escape, a
# minus as a hyphen, and a line that starts with a dot or an apostrophe as a request; help2man reads
# a line that starts with [ or / in an include file as a section or a pattern.
function(verbatim_roff text out_var)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'[/])" "\\1\\\\&\\2" text "${text}")
  string(STRIP "${text}" text)
  set(${out_var} ".nf\n${text}\n.fi\n" PARENT_SCOPE)
endfunction()

# The help is set as it is printed, its columns kept; help2man's reading of it as paragraphs and
# option lists would break the commands' own option lists apart. The usage paragraph becomes the
# page's synopsis.
string(REGEX REPLACE "^[Uu]sage:[^\n]*(\n[^\n]+)*\n+" "" description "${main_help}")
verbatim_roff("${description}" description)
set(include_text "[=DESCRIPTION]\n${description}")

# Commands are the lines of the help's "Commands:" list that start with a word two spaces in.
string(REGEX MATCH "\nCommands:\n([^\n]+\n)*" command_list "\n${main_help}")
string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" command_lines "${command_list}")
set(details "")
foreach(line IN LISTS command_lines)
  string(STRIP "${line}" command)
  execute_process(COMMAND "${CLI}" ${command} --help
                  OUTPUT_VARIABLE help RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0 OR help STREQUAL main_help)
    continue()
  endif()
  verbatim_roff("${help}" help)
  string(APPEND details ".SS \"tulvo\\-cli ${command}\"\n${help}")
endforeach()
if(details)
  string(APPEND include_text "[COMMANDS IN DETAIL]\n${details}")
endif()

get_filename_component(out_dir "${OUTPUT}" DIRECTORY)
file(WRITE "${out_dir}/tulvo-cli-help.h2m" "${include_text}")
set(includes --include "${out_dir}/tulvo-cli-help.h2m" --include "${INCLUDE}")

execute_process(
  COMMAND "${HELP2MAN}" --no-info --section 1
          --name "spectral analysis of short WAV recordings without a window"
          ${includes} --output "${OUTPUT}" "${CLI}"
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND gzip -9 -n -f -k "${OUTPUT}" COMMAND_ERROR_IS_FATAL ANY)
