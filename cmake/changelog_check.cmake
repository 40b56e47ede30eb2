# The change log's latest release must be the version being built: its
# first "## [x.y.z]" heading (an "Unreleased" one above it aside) carries
# the number in VERSION.
#   cmake -DCHANGELOG=<CHANGELOG.md> -DVERSION=<x.y.z> -P changelog_check.cmake
# (a test), or include() it and call zun_check_changelog (the package).
function(zun_check_changelog changelog version)
  file(STRINGS ${changelog} headings REGEX "^## ")
  foreach(heading ${headings})
    if(heading MATCHES "^## \\[?Unreleased\\]?")
      continue()
    endif()
    if(NOT heading MATCHES "^## \\[([^]]*)\\]")
      message(FATAL_ERROR "${changelog}: a release heading reads \"## [VERSION] - DATE\", not \"${heading}\"")
    endif()
    if(NOT CMAKE_MATCH_1 STREQUAL version)
      message(FATAL_ERROR "${changelog}: the latest release is ${CMAKE_MATCH_1}, but VERSION says ${version}")
    endif()
    return()
  endforeach()
  message(FATAL_ERROR "${changelog}: no release heading (## [${version}] - DATE)")
endfunction()

if(CHANGELOG)
  zun_check_changelog(${CHANGELOG} ${VERSION})
endif()
