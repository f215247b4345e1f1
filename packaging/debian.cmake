# The Debian package, made by CPack from the install rules:
#   cmake --build build && cd build && cpack -G DEB
# It installs under /usr; Depends are worked out by dpkg-shlibdeps from the binaries.

# The man page, and the changelog Debian wants beside the copyright, are shipped compressed
# without a name or time stamp inside, so the same sources give the same package.
set(TAVREL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tavrel-dictionary)
foreach(source assets/TavrelDictionary.1 assets/TavrelDictionary.zh_CN.1
        packaging/debian/changelog)
    get_filename_component(name ${source} NAME)
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${CMAKE_CURRENT_SOURCE_DIR}/${source}
            ${compressed}
        DEPENDS ${source} VERBATIM)
    list(APPEND TAVREL_COMPRESSED ${compressed})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${TAVREL_COMPRESSED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TavrelDictionary.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TavrelDictionary.zh_CN.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/zh_CN/man1 RENAME TavrelDictionary.1.gz)
install(FILES packaging/debian/copyright DESTINATION ${TAVREL_DOC_DIR})
# The version has no Debian revision: the package is made here, with the program.
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${TAVREL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrel-dictionary)
set(CPACK_PACKAGE_VENDOR Tavrel)
set(CPACK_PACKAGE_CONTACT "Tavrel <packages@tavrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "look English and Chinese words up in an online dictionary")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavrel Dictionary is a small desktop dictionary. Type a word and press
Translate: the word goes into a query template, the address of an online
dictionary with the placeholders %word and %firstchar, and the dictionary's
page opens in the program's window. Pick one of three suggested providers or
write a template of your own; it is kept between runs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE http://www.tavrel.example)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its SQLite driver as a plugin, and the speech library is opened by name on the first
# pronunciation, so dpkg-shlibdeps sees neither: the words the user keeps are in an SQLite file,
# and the voices are data of their own, as is the handwriting model zinnia reads. Qt's own strings
# in Chinese (the standard dialogs, the word box's and the page's context menus) are loaded as
# files, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libespeak-ng1, espeak-ng-data, \
tegaki-zinnia-simplified-chinese, qt6-translations-l10n")
# A font with Chinese glyphs, the input method's Qt 6 front end for typing Chinese, and the
# American English spelling dictionary that "did you mean" takes its guesses from.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-wqy-microhei, fcitx5-frontend-qt6, hunspell-en-us")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Whatever the umask of whoever builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
