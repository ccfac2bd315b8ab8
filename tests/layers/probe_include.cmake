# Compiles a one-line probe that includes HEADER against the include root ROOT.
# EXPECT=missing: the compiler must fail because HEADER is not found there.
# EXPECT=builds: the probe must compile.
string(MAKE_C_IDENTIFIER "${ROOT}_${HEADER}" id)
set(probe ${WORK}/probe_${id}.cpp)
file(WRITE ${probe} "#include \"${HEADER}\"\nint main() { return 0; }\n")
execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -I${ROOT} ${probe}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(EXPECT STREQUAL "missing")
  if(result EQUAL 0)
    message(FATAL_ERROR "${HEADER} is reachable from ${ROOT}: an upward include builds")
  endif()
  # gcc says "No such file or directory", clang "file not found".
  if(NOT err MATCHES "No such file or directory|file not found")
    message(FATAL_ERROR "the probe failed for another reason:\n${err}")
  endif()
else()
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${HEADER} does not build from ${ROOT}:\n${err}")
  endif()
endif()
