# Stages what the installer installs, then makes the installer (NSIS) and
# the portable zip of the same files.
#   cmake -DVERSION=.. -DSOURCE=<root> -DGUI=<zunrun.exe> -DCONSOLE=<zunrunc.exe>
#         -DMAKENSIS=<makensis> -DOUT=<folder> -P package.cmake
set(name zunrun-${VERSION})
set(stage ${OUT}/${name}-win64)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/examples)
file(COPY ${GUI} ${CONSOLE} ${SOURCE}/README.md DESTINATION ${stage})
file(GLOB examples ${SOURCE}/examples/*.zunscript)
file(COPY ${examples} DESTINATION ${stage}/examples)

execute_process(COMMAND ${MAKENSIS} -V2 -DVERSION=${VERSION} -DSTAGE=${stage} -DICON=${SOURCE}/resources/zunrun.ico
                        -DOUT=${OUT}/${name}-setup.exe ${SOURCE}/resources/installer.nsi
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "makensis failed")
endif()
file(REMOVE ${OUT}/${name}-win64.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/${name}-win64.zip --format=zip ${name}-win64
                WORKING_DIRECTORY ${OUT} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the zip could not be made")
endif()
