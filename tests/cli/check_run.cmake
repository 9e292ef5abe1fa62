# Runs pilecap-run once in an emptied scratch folder and checks what it tells:
# its exit status, the last line it prints on standard output (the run's final
# message) and texts that must appear on either stream or must not.
#   -DPILECAP_RUN=<the binary>   -DWORKDIR=<scratch folder>   -DEXIT=<status>
#   -DARGS=<arguments, separated by |>, or
#   -DREADME=<file> -DSOURCE_DIR=<folder>: the README's first pilecap-run
#        command, its paths taken from SOURCE_DIR
#   -DFINAL=<last line of standard output>          (optional)
#   -DSTDOUT_HAS=, -DSTDERR_HAS=, -DSTDOUT_LACKS=   regular expressions, |-separated
#   -DONLY_ENTRY=<the one entry WORKDIR holds afterwards>
#   -DMAKE_FOLDER=<a folder made inside WORKDIR before the run>     (optional)
#   -DLAUNCHER=<a program, with its options, that starts pilecap-run, separated by |>
#   -DTHROUGH_LOADER=1: pilecap-run started by the dynamic loader its program
#        headers name, as a file the loader opens
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
if(DEFINED MAKE_FOLDER)
  file(MAKE_DIRECTORY "${WORKDIR}/${MAKE_FOLDER}")
endif()

if(DEFINED README)
  file(STRINGS "${README}" readme_lines)
  set(command "")
  foreach(line IN LISTS readme_lines)
    if(line MATCHES "pilecap-run ")
      set(command "${line}")
      break()
    endif()
  endforeach()
  if(command STREQUAL "")
    message(FATAL_ERROR "the README has no pilecap-run command")
  endif()
  # The last command of a line of commands joined by &&.
  string(REGEX REPLACE ".*&&" "" command "${command}")
  separate_arguments(words UNIX_COMMAND "${command}")
  list(POP_FRONT words program)
  if(NOT program MATCHES "pilecap-run$")
    message(FATAL_ERROR "the README's command starts with '${program}', not pilecap-run")
  endif()
  set(run_args "")
  foreach(word IN LISTS words)
    if(NOT word MATCHES "^-" AND EXISTS "${SOURCE_DIR}/${word}")
      set(word "${SOURCE_DIR}/${word}")
    endif()
    list(APPEND run_args "${word}")
  endforeach()
else()
  string(REPLACE "|" ";" run_args "${ARGS}")
endif()

string(REPLACE "|" ";" launcher "${LAUNCHER}")
if(THROUGH_LOADER)
  execute_process(COMMAND readelf --program-headers "${PILECAP_RUN}" OUTPUT_VARIABLE headers RESULT_VARIABLE read)
  if(NOT read EQUAL 0 OR NOT headers MATCHES "program interpreter: ([^] ]+)]")
    message(FATAL_ERROR "no program interpreter found in ${PILECAP_RUN}")
  endif()
  list(APPEND launcher "${CMAKE_MATCH_1}")
endif()
execute_process(
  COMMAND ${launcher} "${PILECAP_RUN}" ${run_args}
  WORKING_DIRECTORY "${WORKDIR}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
message("${launcher} pilecap-run ${run_args}\n--- standard output\n${out}--- standard error\n${err}---")

set(failures "")
if(NOT status STREQUAL "${EXIT}")
  string(APPEND failures "exit status ${status}, expected ${EXIT}\n")
endif()
if(DEFINED FINAL)
  string(REGEX REPLACE "\n$" "" trimmed "${out}")
  string(REGEX REPLACE ".*\n" "" last "${trimmed}")
  if(NOT last STREQUAL "${FINAL}")
    string(APPEND failures "last line '${last}', expected '${FINAL}'\n")
  endif()
endif()
foreach(stream IN ITEMS STDOUT STDERR)
  if(stream STREQUAL "STDOUT")
    set(text "${out}")
  else()
    set(text "${err}")
  endif()
  string(REPLACE "|" ";" wanted "${${stream}_HAS}")
  foreach(pattern IN LISTS wanted)
    if(NOT text MATCHES "${pattern}")
      string(APPEND failures "${stream} lacks '${pattern}'\n")
    endif()
  endforeach()
endforeach()
string(REPLACE "|" ";" unwanted "${STDOUT_LACKS}")
foreach(pattern IN LISTS unwanted)
  if(out MATCHES "${pattern}")
    string(APPEND failures "STDOUT has '${pattern}'\n")
  endif()
endforeach()
if(DEFINED ONLY_ENTRY)
  file(GLOB entries RELATIVE "${WORKDIR}" "${WORKDIR}/*")
  if(NOT entries STREQUAL "${ONLY_ENTRY}")
    string(APPEND failures "the folder holds '${entries}', expected only '${ONLY_ENTRY}'\n")
  endif()
endif()
if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()
