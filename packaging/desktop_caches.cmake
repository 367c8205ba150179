# The caches through which desktops see our file type and the entry's
# MimeType: update-mime-database builds a database in share/mime from the
# files in its packages/ folder, update-desktop-database a mimeinfo.cache in
# share/applications. Included by the install and by the uninstall.
cmake_policy(VERSION 3.25)

function(facetor_run_cache_tool tool folder)
  find_program(program ${tool} NO_CACHE)
  if(program AND IS_DIRECTORY "${folder}")
    execute_process(COMMAND "${program}" "${folder}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(WARNING "${tool} ${folder} failed (${status}); desktops may not see the change")
    endif()
  endif()
endfunction()

# After an install into DATADIR (not a staged one, whose caches are built
# where it is unpacked: Debian's triggers do it for the package).
function(facetor_update_caches datadir)
  facetor_run_cache_tool(update-mime-database "${datadir}/mime")
  facetor_run_cache_tool(update-desktop-database "${datadir}/applications")
endfunction()

# After the uninstall removed our files from DATADIR: the tools run again so
# that the caches forget our type, and a cache that then describes nothing
# goes (the install may have been the first to make it).
function(facetor_forget_caches datadir)
  set(mime "${datadir}/mime")
  file(GLOB packages "${mime}/packages/*")
  if(NOT packages)
    # Apart from packages/, the folder holds only what the tool wrote.
    file(GLOB generated LIST_DIRECTORIES true "${mime}/*")
    list(REMOVE_ITEM generated "${mime}/packages")
    if(generated)
      file(REMOVE_RECURSE ${generated})
    endif()
  elseif(EXISTS "${mime}/mime.cache")
    facetor_run_cache_tool(update-mime-database "${mime}")
  endif()

  set(cache "${datadir}/applications/mimeinfo.cache")
  if(EXISTS "${cache}")
    facetor_run_cache_tool(update-desktop-database "${datadir}/applications")
    file(STRINGS "${cache}" lines REGEX "=")
    if(NOT lines)
      file(REMOVE "${cache}")
    endif()
  endif()
endfunction()
