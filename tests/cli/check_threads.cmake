# Runs pilecap-run on one deck with 1 and with 4 threads, each in an emptied
# folder, and checks that both complete and that the named files of the two
# runs are alike but for their timing and processor lines.
#   -DPILECAP_RUN=<the binary>   -DWORKDIR=<scratch folder>   -DDECK=<input deck>
#   -DFILES=<file name suffixes after the deck's base name, separated by |>
cmake_minimum_required(VERSION 3.25)

get_filename_component(base "${DECK}" NAME_WE)
string(REPLACE "|" ";" suffixes "${FILES}")
set(failures "")
foreach(threads IN ITEMS 1 4)
  file(REMOVE_RECURSE "${WORKDIR}/t${threads}")
  execute_process(
    COMMAND "${PILECAP_RUN}" --quiet --threads ${threads} "${DECK}" "${WORKDIR}/t${threads}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  message("pilecap-run --threads ${threads}: exit ${status}\n${out}${err}")
  if(NOT status STREQUAL "0")
    string(APPEND failures "exit status ${status} with ${threads} threads\n")
  endif()
endforeach()
foreach(suffix IN LISTS suffixes)
  foreach(threads IN ITEMS 1 4)
    set(file "${WORKDIR}/t${threads}/${base}${suffix}")
    set(text_${threads} "")
    if(NOT EXISTS "${file}")
      string(APPEND failures "${base}${suffix} missing with ${threads} threads\n")
      continue()
    endif()
    file(STRINGS "${file}" lines)
    list(FILTER lines EXCLUDE REGEX "Execution Time|Number Processors|processing :|Date:| proc\\.\\)")
    string(JOIN "\n" text_${threads} ${lines})
  endforeach()
  string(LENGTH "${text_1}" length)
  if(length EQUAL 0)
    string(APPEND failures "${base}${suffix} is empty\n")
  elseif(NOT text_1 STREQUAL text_4)
    string(APPEND failures "${base}${suffix} differs between 1 and 4 threads\n")
  endif()
endforeach()
if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()
