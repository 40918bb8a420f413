# Writes one fortune data file and its index: run as
#   cmake -DCLI=… -DWORDS=… -DTHEME=N -DCOUNT=N -DSEED=N -DSTRFILE=… -DOUTPUT=file \
#         -P fortunes.cmake
# The fixed seed makes every build write the same sentences; the file is written whole or the
# build stops, so a failed run never leaves half a file that looks finished.
foreach(name CLI WORDS THEME COUNT SEED STRFILE OUTPUT)
    if(NOT DEFINED ${name})
        message(FATAL_ERROR "fortunes.cmake: ${name} is not set")
    endif()
endforeach()

file(REMOVE "${OUTPUT}" "${OUTPUT}.dat")
execute_process(
    COMMAND "${CLI}" --fortune ${COUNT} --seed ${SEED} --theme ${THEME} --words "${WORDS}"
    OUTPUT_FILE "${OUTPUT}.part"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE "${OUTPUT}.part")
    message(FATAL_ERROR "zurevavud-cli --fortune failed for theme ${THEME} (status ${status})")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
# strfile prints a summary of what it indexed; only a failure is worth showing.
execute_process(COMMAND "${STRFILE}" "${OUTPUT}" "${OUTPUT}.dat"
    OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE "${OUTPUT}.dat")
    message(FATAL_ERROR "${STRFILE} failed on ${OUTPUT} (status ${status})")
endif()
