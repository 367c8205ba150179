# The Release that is packaged is compiled and linked as Debian builds its own
# packages: with the flags dpkg-buildflags gives (fortify, stack protector,
# format checks, relro; PIE is the compiler's default), plus bindnow, which
# Debian leaves to each package and lintian asks for. The benchmarks and
# `make run` use the same build, so they measure and run what ships.
option(FACETOR_DEBIAN_BUILD_FLAGS "Compile and link with the flags of dpkg-buildflags" OFF)
if(NOT FACETOR_DEBIAN_BUILD_FLAGS)
  return()
endif()

find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  # Run in the source folder, whose path -ffile-prefix-map takes out of the
  # binaries.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow
                          ${DPKG_BUILDFLAGS} --get ${kind}
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE flags
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  # Optimisation stays the build type's; debug info would only be stripped
  # again, since no debug symbols package is made.
  list(FILTER flags EXCLUDE REGEX "^-(g|O.*)$")
  set(debian_${kind} ${flags})
endforeach()
add_compile_options(${debian_CPPFLAGS} ${debian_CXXFLAGS})
add_link_options(${debian_LDFLAGS})
list(JOIN debian_CPPFLAGS " " preprocessor_flags)
list(JOIN debian_CXXFLAGS " " compiler_flags)
list(JOIN debian_LDFLAGS " " linker_flags)
message(STATUS "Debian build flags: ${preprocessor_flags} ${compiler_flags}; linker: ${linker_flags}")
