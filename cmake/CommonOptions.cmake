# SPDX-License-Identifier: GPL-3.0-or-later
# One interface target carries the warning set for every library of the project.
add_library(orvalin_options INTERFACE)
target_compile_options(orvalin_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion
  -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
if(ORVALIN_WERROR)
  target_compile_options(orvalin_options INTERFACE -Werror)
endif()
target_compile_definitions(orvalin_options INTERFACE
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_KEYWORDS)
