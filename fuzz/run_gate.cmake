# One fuzz target as a regression gate: a fixed seed and a fixed number of
# runs over the committed corpus, so that one build gives one verdict on
# any machine and under any load. What the run finds goes to a folder that
# is emptied first: a second run starts where the first did, not from what
# the first found. -reload=0: libFuzzer would otherwise read that folder
# again every second of the clock, and what it takes in then depends on
# how fast the machine is.
#
# OPTIONS: further libFuzzer flags of the target.
#
# cmake -DTARGET=... -DOPTIONS=... -DSEED=... -DRUNS=... -DDICT=... -DFOUND=... -DARTIFACTS=... -DCORPUS=... -P run_gate.cmake
#
# Without address-space randomisation: where the allocator puts a size
# class decides which way the standard library's overlap checks of strings
# go, and with it the coverage a run counts, so two runs of one build would
# find different inputs. setarch turns it off for this process alone where
# the system lets it.
file(REMOVE_RECURSE "${FOUND}")
set(fixed_layout)
find_program(SETARCH setarch)
if(SETARCH)
  execute_process(COMMAND uname -m OUTPUT_VARIABLE machine OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND "${SETARCH}" "${machine}" -R true RESULT_VARIABLE refused OUTPUT_QUIET ERROR_QUIET)
  if(refused EQUAL 0)
    set(fixed_layout "${SETARCH}" "${machine}" -R)
  endif()
endif()
if(NOT fixed_layout)
  message(WARNING "address-space randomisation stays on: two runs may find different inputs")
endif()
file(MAKE_DIRECTORY "${FOUND}" "${ARTIFACTS}")
execute_process(
  COMMAND ${fixed_layout} "${TARGET}" -seed=${SEED} -runs=${RUNS} -reload=0 -timeout=10 ${OPTIONS} "-dict=${DICT}"
          "-artifact_prefix=${ARTIFACTS}/" -print_final_stats=1 "${FOUND}" "${CORPUS}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TARGET} ended with ${status}; the input that broke it is under ${ARTIFACTS}")
endif()
