# libxlsxwriter, which writes the workbooks, as the target kastrel_xlsxwriter.
# Linux: Debian's libxlsxwriter-dev. Windows: a static build made with the
# cross compiler from Debian's source package (tools/build-xlsxwriter-mingw),
# with zlib from libz-mingw-w64-dev, so that Kastrel.exe needs no DLL of either.
add_library(kastrel_xlsxwriter INTERFACE)
if(WIN32)
    set(KASTREL_XLSXWRITER_PREFIX "" CACHE PATH
        "Where the static libxlsxwriter for Windows is installed (include/, lib/)")
    find_path(KASTREL_XLSXWRITER_INCLUDE xlsxwriter.h
              PATHS ${KASTREL_XLSXWRITER_PREFIX}/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    # MinGW's and MSVC's (vcpkg) names of the static libraries.
    find_library(KASTREL_XLSXWRITER_LIBRARY NAMES libxlsxwriter.a xlsxwriter.lib
                 PATHS ${KASTREL_XLSXWRITER_PREFIX}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    # The static zlib, not its import library beside it: the prefix's, else the toolchain's.
    find_library(KASTREL_ZLIB_STATIC NAMES libz.a zlib.lib
                 PATHS ${KASTREL_XLSXWRITER_PREFIX}/lib NO_CMAKE_FIND_ROOT_PATH)
    if(NOT KASTREL_ZLIB_STATIC)
        find_library(KASTREL_ZLIB_STATIC NAMES libz.a)
    endif()
    if(NOT KASTREL_XLSXWRITER_INCLUDE OR NOT KASTREL_XLSXWRITER_LIBRARY OR NOT KASTREL_ZLIB_STATIC)
        message(FATAL_ERROR "libxlsxwriter for Windows not found under "
                            "KASTREL_XLSXWRITER_PREFIX='${KASTREL_XLSXWRITER_PREFIX}' or no static "
                            "zlib (libz-mingw-w64-dev): run tools/build-xlsxwriter-mingw PREFIX")
    endif()
    target_include_directories(kastrel_xlsxwriter SYSTEM INTERFACE ${KASTREL_XLSXWRITER_INCLUDE})
    target_link_libraries(kastrel_xlsxwriter INTERFACE ${KASTREL_XLSXWRITER_LIBRARY}
                          ${KASTREL_ZLIB_STATIC})
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
    target_link_libraries(kastrel_xlsxwriter INTERFACE PkgConfig::XLSXWRITER)
endif()
