# SPDX-License-Identifier: GPL-3.0-or-later
# The release date of a version, from its entry in CHANGELOG.md ("## 1.11.1 (2026-12-07)"),
# as written there and as the Debian changelog writes it (RFC 2822). A version without an
# entry cannot be configured, so none ships without one.
function(orvalin_release_date changelog version out_iso out_rfc2822)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
  string(REPLACE "." "\\." version_pattern "${version}")
  file(STRINGS ${changelog} heading
       REGEX "^## ${version_pattern} \\([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\\)$")
  if(NOT heading)
    message(FATAL_ERROR "CHANGELOG.md has no entry \"## ${version} (YYYY-MM-DD)\": "
                        "write what this version changes for its users, newest first")
  endif()
  string(REGEX REPLACE ".*\\((....)-(..)-(..)\\)" "\\1;\\2;\\3" ymd "${heading}")
  list(GET ymd 0 year)
  list(GET ymd 1 month)
  list(GET ymd 2 day)
  # The weekday by Sakamoto's method.
  set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(weekday_names Sun Mon Tue Wed Thu Fri Sat)
  string(REGEX REPLACE "^0" "" m "${month}")
  string(REGEX REPLACE "^0" "" d "${day}")
  math(EXPR index "${m} - 1")
  list(GET month_offsets ${index} offset)
  list(GET month_names ${index} month_name)
  set(y ${year})
  if(m LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
  list(GET weekday_names ${weekday} weekday_name)
  set(${out_iso} "${year}-${month}-${day}" PARENT_SCOPE)
  set(${out_rfc2822} "${weekday_name}, ${day} ${month_name} ${year} 12:00:00 +0000" PARENT_SCOPE)
endfunction()
