# Runs at install time: writes the desktop entry for the prefix actually
# installed to, since `cmake --install --prefix` may differ from the one
# configured. Exec and Path name the installed editor and its data folder;
# DESTDIR, a staging root only, is in neither. The install rule that follows
# copies the entry.
#
# Set by the install code before this script: facetor_entry_template,
# facetor_entry_file (where to write it in the build tree), and
# facetor_bindir, facetor_datadir as GNUInstallDirs gives them.

function(facetor_under_prefix out dir)
  if(IS_ABSOLUTE "${dir}")
    set(path "${dir}")
  else()
    set(path "${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
  cmake_path(SET path NORMALIZE "${path}")
  string(REGEX REPLACE "(.)/$" "\\1" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

facetor_under_prefix(bindir "${facetor_bindir}")
facetor_under_prefix(datadir "${facetor_datadir}")

# A program path with a character the Exec line reserves is quoted, and
# inside the quotes \ " ` $ take a backslash; % is doubled anywhere.
set(facetor_exec "${bindir}/facetor")
if(NOT facetor_exec MATCHES "^[A-Za-z0-9/._+-]+$")
  foreach(c "\\" "\"" "`" "$")
    string(REPLACE "${c}" "\\${c}" facetor_exec "${facetor_exec}")
  endforeach()
  set(facetor_exec "\"${facetor_exec}\"")
endif()
string(REPLACE "%" "%%" facetor_exec "${facetor_exec}")
set(facetor_path "${datadir}/facetor")
# Every value of the entry escapes its backslashes once more.
string(REPLACE "\\" "\\\\" facetor_exec "${facetor_exec}")
string(REPLACE "\\" "\\\\" facetor_path "${facetor_path}")

configure_file("${facetor_entry_template}" "${facetor_entry_file}" @ONLY)
