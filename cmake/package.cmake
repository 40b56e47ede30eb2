# Stages what the installer installs, then makes the installer (NSIS) and
# the portable zip of the same files.
#   cmake -DVERSION=1.0.2 -DVERSION4=1.0.2.0 -DCOMPANY=.. -DCOPYRIGHT=..
#         -DSOURCE=<root> -DGUI=<zunrun.exe> -DCONSOLE=<zunrunc.exe>
#         -DHELP=<folder> -DEDITORS=<folder> -DMAKENSIS=<makensis>
#         -DOUT=<folder> -P package.cmake
# HELP is the rendered manual, index.html its entry page; EDITORS holds
# zunscript-VERSION.vsix and notepad++/zunscript.xml. Both must be there:
# a package without them is not made.
#
# The stage (OUT/zunrun-VERSION-win64, the zip's one folder) is laid out as
# the installation: the programs, README.txt, LICENSE.txt, CHANGELOG.md,
# Help\, Examples\ and Editors\. OUT/zunrun-VERSION-files.nsh lists its
# files for the installer and the uninstaller, so that the uninstaller
# removes exactly the files the setup wrote.
include(${CMAKE_CURRENT_LIST_DIR}/changelog_check.cmake)

set(editor_files zunscript-${VERSION}.vsix notepad++/zunscript.xml)
if(NOT EXISTS ${HELP}/index.html)
  message(FATAL_ERROR "The help is missing: no ${HELP}/index.html. "
                      "Render the manual first (tools/zun docs) or point ZUN_HELP_DIR at it.")
endif()
foreach(file ${editor_files})
  if(NOT EXISTS ${EDITORS}/${file})
    message(FATAL_ERROR "The editor files are missing: no ${EDITORS}/${file}. "
                        "Build the editor support first or point ZUN_EDITORS_DIR at it.")
  endif()
endforeach()
zun_check_changelog(${SOURCE}/CHANGELOG.md ${VERSION})

set(name zunrun-${VERSION})
set(stage ${OUT}/${name}-win64)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY ${GUI} ${CONSOLE} DESTINATION ${stage})
# Text for people, with Windows line ends (older Notepads show nothing else);
# the read-me names the version.
configure_file(${SOURCE}/resources/README.txt ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
foreach(pair LICENSE:LICENSE.txt CHANGELOG.md:CHANGELOG.md)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 from)
  list(GET pair 1 to)
  file(READ ${SOURCE}/${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${stage}/${to} "${text}")
endforeach()
file(COPY ${HELP}/ DESTINATION ${stage}/Help)
file(COPY ${SOURCE}/examples/ DESTINATION ${stage}/Examples)
foreach(file ${editor_files})
  get_filename_component(dir ${file} DIRECTORY)
  file(COPY ${EDITORS}/${file} DESTINATION ${stage}/Editors/${dir})
endforeach()

# The list of files for the installer: one SetOutPath per folder, the
# folders' files after it; the uninstaller deletes the files, then the
# folders, deepest first (a folder sorts before what it holds).
file(GLOB_RECURSE files RELATIVE ${stage} ${stage}/*)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${stage} ${stage}/*)
foreach(entry ${entries})
  # Names NSIS would read otherwise, or Windows would refuse.
  if(entry MATCHES "[\"<>:|?*\\\\$`]")
    message(FATAL_ERROR "A file name the package cannot carry: ${entry}")
  endif()
endforeach()
set(folders ${entries})
list(REMOVE_ITEM folders ${files})
list(SORT files)
list(SORT folders)
set(install "!macro InstallFiles\n")
set(uninstall "!macro UninstallFiles\n")
foreach(folder "" ${folders})
  string(REPLACE "/" "\\" where "$INSTDIR/${folder}")
  string(REGEX REPLACE "\\\\$" "" where "${where}")
  string(APPEND install "  SetOutPath \"${where}\"\n")
  foreach(file ${files})
    get_filename_component(dir "${file}" DIRECTORY)
    if(dir STREQUAL folder)
      string(APPEND install "  File \"${stage}/${file}\"\n")
    endif()
  endforeach()
endforeach()
foreach(file ${files})
  string(REPLACE "/" "\\" file "${file}")
  string(APPEND uninstall "  Delete \"$INSTDIR\\${file}\"\n")
endforeach()
list(REVERSE folders)
foreach(folder ${folders})
  string(REPLACE "/" "\\" folder "${folder}")
  string(APPEND uninstall "  RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${OUT}/${name}-files.nsh "${install}!macroend\n\n${uninstall}!macroend\n")

execute_process(COMMAND ${MAKENSIS} -V2 -DVERSION=${VERSION} -DVERSION4=${VERSION4} "-DCOMPANY=${COMPANY}"
                        "-DCOPYRIGHT=${COPYRIGHT}" -DFILES=${OUT}/${name}-files.nsh
                        -DICON=${SOURCE}/resources/zunrun.ico -DOUT=${OUT}/${name}-setup.exe
                        ${SOURCE}/resources/installer.nsi
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
