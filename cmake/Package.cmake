# The release package: `cmake --build --preset mingw --target package` writes
# keston-<version>-win64.zip into the build folder, holding keston.exe, the
# user's README.txt and LICENSE.txt, with no folder around them.

# The texts are kept with LF line ends; Notepad before Windows 10 shows a
# text with bare LF as one long line, so the package gets CR LF copies.
set(KESTON_PACKAGE_TEXTS ${PROJECT_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/assets/README.txt.in ${KESTON_PACKAGE_TEXTS}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${KESTON_PACKAGE_TEXTS}/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS keston RUNTIME DESTINATION .)
install(FILES ${KESTON_PACKAGE_TEXTS}/README.txt ${KESTON_PACKAGE_TEXTS}/LICENSE.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME keston)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME keston-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Where the package lands, for the test that unpacks it (named before CPack,
# which leaves the source package's name in CPACK_PACKAGE_FILE_NAME).
set(KESTON_PACKAGE_FILE ${PROJECT_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)
