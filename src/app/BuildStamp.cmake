# Writes BuildStamp.cpp: run by the build each time (cmake -P), so the commit
# is the one built, and the file is rewritten only when its text changes, so
# an unchanged commit compiles nothing.
#   -DSOURCE_DIR= -DOUTPUT= -DLICENCE= -DDOC_FROM_BIN= -DTEMPLATE=
set(GLYPHANE_COMMIT "")
set(GLYPHANE_COMMIT_DATE "")
find_program(GIT git)
if(GIT)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} log -1 --format=%h%n%cs
                  OUTPUT_VARIABLE head RESULT_VARIABLE failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT failed AND head)
    string(REPLACE "\n" ";" head "${head}")
    list(GET head 0 GLYPHANE_COMMIT)
    list(GET head 1 GLYPHANE_COMMIT_DATE)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE changes ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(changes)
      string(APPEND GLYPHANE_COMMIT "-modified")
    endif()
  endif()
endif()
set(GLYPHANE_LICENCE "${LICENCE}")
set(GLYPHANE_DOC_FROM_BIN "${DOC_FROM_BIN}")
set(GLYPHANE_SOURCE_DIR "${SOURCE_DIR}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
