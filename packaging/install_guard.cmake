# What every `cmake --install` of Facetor does besides copying: before the
# first file, it checks that it can finish; after the last, it records what
# it added, for the uninstall target (uninstall.cmake).
#
# CMake writes its list of installed files into the build tree when the
# install ends, after copying everything: from a tree the installing user
# cannot write, the install would copy every file and then fail, leaving
# files that no uninstall knows of. It is refused before anything is copied.
#
# Set by the install code before this script: facetor_build_dir.

# Install scripts run without the project's policies; the functions keep
# these.
cmake_policy(VERSION 3.25)

set(facetor_install_record "${facetor_build_dir}/install_record.txt")

# Whether the user could write PATH: the file if it exists, else its folder.
function(facetor_writable out path)
  if(NOT EXISTS "${path}")
    get_filename_component(path "${path}" DIRECTORY)
  endif()
  execute_process(COMMAND test -w "${path}" RESULT_VARIABLE status)
  if(status EQUAL 0)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

function(facetor_user out)
  execute_process(COMMAND id -un OUTPUT_VARIABLE user OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(${out} "${user}" PARENT_SCOPE)
endfunction()

# The folders the install copies into, as the generated install scripts
# name them, under the staging root (DESTDIR) if there is one.
function(facetor_install_destinations out)
  file(GLOB_RECURSE scripts "${facetor_build_dir}/*/cmake_install.cmake")
  set(destinations "")
  foreach(script IN LISTS scripts)
    file(STRINGS "${script}" lines REGEX "file\\(INSTALL DESTINATION \"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE ".*file\\(INSTALL DESTINATION \"([^\"]*)\".*" "\\1" destination
                           "${line}")
      string(CONFIGURE "${destination}" destination)
      list(APPEND destinations "$ENV{DESTDIR}${destination}")
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES destinations)
  set(${out} "${destinations}" PARENT_SCOPE)
endfunction()

function(facetor_install_begin)
  facetor_user(user)
  # CMake's own list, named as CMake names it.
  set(manifest "${facetor_build_dir}/install_manifest.txt")
  if(CMAKE_INSTALL_COMPONENT)
    set(manifest "${facetor_build_dir}/install_manifest_${CMAKE_INSTALL_COMPONENT}.txt")
  endif()
  foreach(written "${manifest}" "${facetor_install_record}")
    facetor_writable(ok "${written}")
    if(NOT ok)
      message(FATAL_ERROR
        "Nothing was installed: user ${user} cannot write ${written}, where the install "
        "records what it copies so that `make uninstall` can remove it again. Build Facetor "
        "as ${user}, in a folder of your own (cmake --preset release && cmake --build --preset "
        "release --target installables), and install from that build.")
    endif()
  endforeach()

  # Every destination's nearest existing folder must take new files; the
  # folders missing below it are the ones this install makes.
  facetor_install_destinations(destinations)
  set(made "")
  set(ancestors "")
  foreach(destination IN LISTS destinations)
    set(path "${destination}")
    set(existing "")
    while(TRUE)
      list(APPEND ancestors "${path}")
      if(existing STREQUAL "" AND IS_DIRECTORY "${path}")
        set(existing "${path}")
      elseif(existing STREQUAL "")
        list(APPEND made "${path}")
      endif()
      get_filename_component(parent "${path}" DIRECTORY)
      if(parent STREQUAL "" OR parent STREQUAL path)
        break()
      endif()
      set(path "${parent}")
    endwhile()
    if(existing STREQUAL "")
      message(FATAL_ERROR "Nothing was installed: no folder to install ${destination} into")
    endif()
    facetor_writable(ok "${existing}/.")
    if(NOT ok)
      message(FATAL_ERROR
        "Nothing was installed: user ${user} cannot write into ${existing}. Install as its "
        "owner, or into a prefix of your own (cmake --install BUILD --prefix ~/.local).")
    endif()
  endforeach()

  # Installed again over an earlier install, the folders that one made are
  # still this one's to remove.
  if(EXISTS "${facetor_install_record}")
    file(STRINGS "${facetor_install_record}" earlier REGEX "^folder ")
    list(TRANSFORM earlier REPLACE "^folder " "")
    foreach(folder IN LISTS earlier)
      if(folder IN_LIST ancestors AND IS_DIRECTORY "${folder}")
        list(APPEND made "${folder}")
      endif()
    endforeach()
  endif()
  list(REMOVE_DUPLICATES made)
  set(facetor_install_made "${made}" PARENT_SCOPE)
endfunction()

function(facetor_install_end)
  # cpack stages the package inside the build tree: that is no install to
  # remove later, and it must not replace the record of one.
  string(FIND "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/" "${facetor_build_dir}/_CPack_Packages/"
              staged)
  if(staged EQUAL 0)
    return()
  endif()
  set(record "")
  foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
    string(APPEND record "file ${file}\n")
  endforeach()
  # Only what exists now: an install of one component makes fewer folders.
  foreach(folder IN LISTS facetor_install_made)
    if(IS_DIRECTORY "${folder}")
      string(APPEND record "folder ${folder}\n")
    endif()
  endforeach()
  file(WRITE "${facetor_install_record}" "${record}")
endfunction()
