# Removes what the last `cmake --install` from this build tree added, as
# install_guard.cmake recorded it: the files, then the folders the install
# made, deepest first. A folder that holds anything else by then (a file of
# the user's) is kept and named; nothing that the install did not add is
# removed, but for the desktop caches built from our files
# (desktop_caches.cmake).
#
# Usage: cmake -D facetor_build_dir=BUILD -P uninstall.cmake (the uninstall target).
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/desktop_caches.cmake)

set(record "${facetor_build_dir}/install_record.txt")
if(NOT EXISTS "${record}")
  message(STATUS "Nothing to uninstall: no install from ${facetor_build_dir} is recorded")
  return()
endif()
file(READ "${record}" text)
# A list item cannot hold a semicolon: such a path would be cut in two, and
# one half might name a file of someone else's.
if(text MATCHES ";")
  message(FATAL_ERROR "${record} names a path with a semicolon; remove those files by hand")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${text}")
set(files "${lines}")
list(FILTER files INCLUDE REGEX "^file ")
list(TRANSFORM files REPLACE "^file " "")
set(folders "${lines}")
list(FILTER folders INCLUDE REGEX "^folder ")
list(TRANSFORM folders REPLACE "^folder " "")

foreach(file IN LISTS files)
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing: ${file}")
    file(REMOVE "${file}")
  endif()
endforeach()
# The entry and the file type lie in DATADIR/applications and DATADIR/mime.
set(datadirs "${files}")
list(FILTER datadirs INCLUDE REGEX "/mime/packages/[^/]*\\.xml$")
list(TRANSFORM datadirs REPLACE "/mime/packages/[^/]*$" "")
foreach(datadir IN LISTS datadirs)
  facetor_forget_caches("${datadir}")
endforeach()

# A folder sorts before everything inside it: in reverse, children come first.
list(SORT folders)
list(REVERSE folders)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY "${folder}" AND NOT IS_SYMLINK "${folder}")
    file(GLOB entries LIST_DIRECTORIES true "${folder}/*")
    if(entries)
      message(STATUS "Keeping: ${folder} (it holds what the install did not add)")
    else()
      message(STATUS "Removing: ${folder}/")
      file(REMOVE_RECURSE "${folder}")
    endif()
  endif()
endforeach()
file(REMOVE "${record}")
