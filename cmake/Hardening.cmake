# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening Debian builds its packages with (dpkg-buildflags with hardening=+all on
# Debian 12): fortified libc calls, stack protector, format checks, position-independent
# executable, read-only relocations bound at start. On for the release and ci presets;
# off for dev (fortify needs optimisation) and for the sanitizer builds (asan, fuzz), whose
# own instrumentation it would overlap.
option(ORVALIN_HARDENING "Build with Debian's hardening flags" OFF)

if(ORVALIN_HARDENING)
  # -U first: a compiler that already defines it (Ubuntu's) would warn of a redefinition.
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2
                      -fstack-protector-strong -Wformat -Werror=format-security)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
