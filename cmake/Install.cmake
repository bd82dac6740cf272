# What an installation holds: the two programs, the share folder they find
# beside themselves (../share/rhythmora), the desktop integration, the
# device rule, the manual pages and the licence.
include(GNUInstallDirs)

set(RHYTHMORA_APP_ID "com.torvane.Rhythmora")
set(RHYTHMORA_HOMEPAGE "https://rhythmora.torvane.example" CACHE STRING
    "The project's web page; the AppStream screenshots lie below it, in images/")
set(RHYTHMORA_MAINTAINER "Rhythmora developers <rhythmora@torvane.example>" CACHE STRING
    "Who answers for the package")
set(RHYTHMORA_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/rhythmora")
set(RHYTHMORA_SHAREDIR "${CMAKE_INSTALL_DATAROOTDIR}/rhythmora")

# The recorder's USB ids come from the device-id pattern the settings start
# with, so the udev rule always names the device the program looks for.
file(STRINGS "${CMAKE_SOURCE_DIR}/app/ECGOptions.h" pattern_line
     REGEX "kDefaultDeviceIdPattern = \"VID_[0-9A-Fa-f]+&PID_[0-9A-Fa-f]+\"")
if(NOT pattern_line MATCHES "VID_([0-9A-Fa-f]+)&PID_([0-9A-Fa-f]+)")
    message(FATAL_ERROR "app/ECGOptions.h names no default device-id pattern")
endif()
string(TOLOWER "${CMAKE_MATCH_1}" RHYTHMORA_USB_VENDOR)
string(TOLOWER "${CMAKE_MATCH_2}" RHYTHMORA_USB_PRODUCT)
string(TOUPPER "${CMAKE_MATCH_1}" RHYTHMORA_USB_VENDOR_UPPER)
string(TOUPPER "${CMAKE_MATCH_2}" RHYTHMORA_USB_PRODUCT_UPPER)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/app/ECGOptions.h")

set(packaging "${CMAKE_SOURCE_DIR}/packaging")
set(generated "${CMAKE_BINARY_DIR}/packaging")
foreach(name 70-rhythmora.rules postinst postrm changelog rhythmora.1 rhythmora-tool.1
             ${RHYTHMORA_APP_ID}.metainfo.xml)
    configure_file("${packaging}/${name}.in" "${generated}/${name}" @ONLY)
endforeach()

# Manual pages and the changelog are installed compressed, without a time
# stamp in the gzip header, so every build of one version is the same.
set(compressed)
foreach(name rhythmora.1 rhythmora-tool.1 changelog)
    add_custom_command(OUTPUT "${generated}/${name}.gz"
        COMMAND gzip -9n -c "${generated}/${name}" > "${generated}/${name}.gz"
        DEPENDS "${generated}/${name}"
        VERBATIM)
    list(APPEND compressed "${generated}/${name}.gz")
endforeach()
add_custom_target(rhythmora_compressed_docs ALL DEPENDS ${compressed})

install(TARGETS rhythmora rhythmora-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY "${CMAKE_SOURCE_DIR}/resources/Language/"
        DESTINATION "${RHYTHMORA_SHAREDIR}/Language" FILES_MATCHING PATTERN "*.lng")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/resources/Artwork/"
        DESTINATION "${RHYTHMORA_SHAREDIR}/Artwork" FILES_MATCHING PATTERN "*.svg")
# The manual's pictures are the README's, in docs/images (the source tree's
# Manual/images leads there); only those the manual shows are installed.
file(GLOB manual_pages "${CMAKE_SOURCE_DIR}/resources/Manual/*.html")
set(manual_images)
foreach(page ${manual_pages})
    file(STRINGS "${page}" lines REGEX "src=\"images/[^\"]+\"")
    foreach(line ${lines})
        string(REGEX MATCHALL "src=\"images/[^\"]+\"" sources "${line}")
        foreach(source ${sources})
            string(REGEX REPLACE "src=\"images/([^\"]+)\"" "\\1" image "${source}")
            list(APPEND manual_images "${CMAKE_SOURCE_DIR}/docs/images/${image}")
        endforeach()
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${page}")
endforeach()
list(REMOVE_DUPLICATES manual_images)
install(DIRECTORY "${CMAKE_SOURCE_DIR}/resources/Manual/"
        DESTINATION "${RHYTHMORA_SHAREDIR}/Manual" PATTERN images EXCLUDE)
install(FILES ${manual_images} DESTINATION "${RHYTHMORA_SHAREDIR}/Manual/images")

install(FILES "${packaging}/${RHYTHMORA_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
install(FILES "${generated}/${RHYTHMORA_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/metainfo")
install(FILES "${packaging}/${RHYTHMORA_APP_ID}.svg"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps")
# udev reads rules below the prefix's lib/, whatever the library folder is.
install(FILES "${generated}/70-rhythmora.rules" DESTINATION lib/udev/rules.d)
install(FILES "${generated}/rhythmora.1.gz" "${generated}/rhythmora-tool.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${packaging}/copyright" "${generated}/changelog.gz"
        DESTINATION "${RHYTHMORA_DOCDIR}")
