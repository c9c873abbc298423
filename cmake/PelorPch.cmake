# Precompiled headers: the standard library, GoogleTest and Qt are parsed once per group of
# targets instead of once per source file (the Qt dashboard library and the test programs). Targets of one group have the same compile options
# (a PCH is only valid for the options it was built with), so each group has one owner that
# builds the header and the others take it with REUSE_FROM. Building with
# -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON turns them off; the sources still include what they use.

# The standard headers most sources of the dashboard and the tests include.
set(PELOR_PCH_STD
    <algorithm> <array> <atomic> <chrono> <cstddef> <cstdint> <cstdio> <cstdlib> <cstring>
    <filesystem> <fstream> <functional> <map> <memory> <mutex> <optional> <set> <span> <sstream>
    <string> <string_view> <thread> <utility> <vector>)

# The Qt Widgets headers the dashboard and its tests include most.
set(PELOR_PCH_QT
    <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDialogButtonBox> <QGridLayout>
    <QGroupBox> <QHBoxLayout> <QImage> <QLabel> <QLineEdit> <QMessageBox> <QPainter>
    <QPushButton> <QTimer> <QVBoxLayout> <QWidget>)

# pelor_pch_reuse(<owner> <target>...): every existing <target> takes <owner>'s header.
function(pelor_pch_reuse owner)
    foreach(target IN LISTS ARGN)
        if(TARGET ${target})
            set_target_properties(${target} PROPERTIES PRECOMPILE_HEADERS_REUSE_FROM ${owner})
        endif()
    endforeach()
endfunction()

# pelor_pch_warnings(<target>...): GCC before 13 does not keep `#pragma GCC diagnostic` in a
# precompiled header, so the three warnings libstdc++ turns off around its own string code
# (-Warray-bounds, -Wstringop-overflow, -Wstringop-overread) would fire on std::string copies
# inlined into a source built with the header. Targets with a header leave those three out there.
function(pelor_pch_warnings)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13
       AND NOT CMAKE_DISABLE_PRECOMPILE_HEADERS)
        foreach(target IN LISTS ARGN)
            target_compile_options(${target} PRIVATE
                -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
        endforeach()
    endif()
endfunction()

# ccache can only cache a source built with a PCH when told that the PCH's defines and time
# macros may be ignored; without this every such compile would run uncached. A sloppiness the
# user set in the environment is left as it is.
function(pelor_pch_ccache)
    if(DEFINED ENV{CCACHE_SLOPPINESS})
        return()
    endif()
    foreach(lang C CXX)
        set(launcher "${CMAKE_${lang}_COMPILER_LAUNCHER}")
        if(launcher MATCHES "ccache" AND NOT launcher MATCHES "CCACHE_SLOPPINESS")
            set(CMAKE_${lang}_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
                "CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime"
                ${launcher} PARENT_SCOPE)
        endif()
    endforeach()
endfunction()
