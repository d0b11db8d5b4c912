# SPDX-License-Identifier: GPL-3.0-or-later
# orvalin_export_folder(<library>): whoever links the library, the library itself included,
# finds its headers as "<folder>/<name>.h" and no other folder of src/. Its include path is
# a folder of the build tree holding one link, named after the library's source folder, to
# that folder: a file can only include the headers of the libraries it links.
function(orvalin_export_folder library)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(staging ${PROJECT_BINARY_DIR}/include/${library})
  file(MAKE_DIRECTORY ${staging})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${staging}/${folder} SYMBOLIC)
  target_include_directories(${library} PUBLIC ${staging})
endfunction()
