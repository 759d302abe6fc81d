# Portable gifts: a statically linked launcher followed by a zstd bundle of
# the player and everything it loads. Nothing here uses Qt.

pkg_check_modules(ZSTD REQUIRED IMPORTED_TARGET libzstd)

add_library(zg_bundle STATIC
    src/launcher/BundleFormat.cpp src/launcher/GiftLayout.cpp src/launcher/Xxh64.cpp)
target_include_directories(zg_bundle PUBLIC src)

# The launcher runs on any x86-64 Linux, whatever its C library, so it is
# linked statically. The sanitizer runtimes cannot be linked statically;
# sanitized builds link the launcher dynamically instead.
add_executable(zanthoria-launcher src/launcher/LauncherMain.cpp src/launcher/BundleCache.cpp)
target_link_libraries(zanthoria-launcher PRIVATE zg_bundle)
if(ZG_SANITIZE)
    target_link_libraries(zanthoria-launcher PRIVATE PkgConfig::ZSTD)
else()
    find_library(ZG_ZSTD_STATIC NAMES libzstd.a REQUIRED)
    target_link_libraries(zanthoria-launcher PRIVATE ${ZG_ZSTD_STATIC})
    # Stripped in optimised builds: it travels in every gift.
    target_link_options(zanthoria-launcher PRIVATE -static $<$<CONFIG:Release>:-s>)
endif()

add_executable(bundle-pack tools/bundle/BundlePack.cpp)
target_link_libraries(bundle-pack PRIVATE zg_bundle PkgConfig::ZSTD)

# zg_make_portable(OUTPUT PLAYER LEVEL [collect-bundle options...]): the
# portable player made from the player target PLAYER.
set(ZG_COLLECT_BUNDLE ${CMAKE_SOURCE_DIR}/tools/bundle/collect-bundle)
function(zg_make_portable output player level)
    set(stage ${output}.d)
    add_custom_command(OUTPUT ${output}
        COMMAND ${ZG_COLLECT_BUNDLE} ${ARGN} $<TARGET_FILE:${player}> ${stage}
        COMMAND bundle-pack $<TARGET_FILE:zanthoria-launcher> ${stage} ${output} ${level}
        DEPENDS ${player} zanthoria-launcher bundle-pack ${ZG_COLLECT_BUNDLE}
                ${CMAKE_SOURCE_DIR}/tools/bundle/fonts.conf
        COMMENT "Bundling ${player} with the libraries it loads"
        VERBATIM)
endfunction()

# The portable player gift-maker uses by default. Compressing the ~90 MB
# bundle hard takes a while, so only builds that ask for it (the release
# preset) make it by default; elsewhere build the target portable-player.
option(ZG_BUILD_PORTABLE "Make the portable player in the default build" OFF)
set(ZG_SOUNDFONT /usr/share/sounds/sf2/TimGM6mb.sf2 CACHE FILEPATH "General MIDI soundfont bundled with portable gifts")
set(ZG_BUNDLE_FONTS
    /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
    /usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
    CACHE STRING "Fonts bundled with portable gifts")
set(font_options)
foreach(font ${ZG_BUNDLE_FONTS})
    list(APPEND font_options --font ${font})
endforeach()
set(bundle_options
    --qt-plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS} ${font_options} --soundfont ${ZG_SOUNDFONT} --trim-icu)
zg_make_portable(${CMAKE_BINARY_DIR}/zanthoria-gift-portable zanthoria-gift 19 ${bundle_options})
if(ZG_BUILD_PORTABLE)
    add_custom_target(portable-player ALL DEPENDS ${CMAKE_BINARY_DIR}/zanthoria-gift-portable)
else()
    add_custom_target(portable-player DEPENDS ${CMAKE_BINARY_DIR}/zanthoria-gift-portable)
endif()

# The same player compressed quickly (level 3: about a second instead of most
# of a minute, the bundle a fifth larger), for gifts made and played on this
# machine straight away, as scripts/play does. Never built by default.
zg_make_portable(${CMAKE_BINARY_DIR}/quick/zanthoria-gift-portable zanthoria-gift 3 ${bundle_options})
add_custom_target(portable-player-quick DEPENDS ${CMAKE_BINARY_DIR}/quick/zanthoria-gift-portable)
