# Run by cpack alone, before it stages the package's files: what belongs to
# the Debian package and not to a plain `cmake --install`, the changelog and
# lintian's overrides. cpack stages through DESTDIR, which file(INSTALL) puts
# in front. Set by the CPack set-up: CPACK_FACETOR_CHANGELOG (compressed),
# CPACK_FACETOR_OVERRIDES and CPACK_FACETOR_DOC_DIR.
file(INSTALL DESTINATION "${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_FACETOR_DOC_DIR}" TYPE FILE
     FILES "${CPACK_FACETOR_CHANGELOG}")
file(INSTALL DESTINATION "${CPACK_PACKAGING_INSTALL_PREFIX}/share/lintian/overrides" TYPE FILE
     FILES "${CPACK_FACETOR_OVERRIDES}" RENAME facetor)
