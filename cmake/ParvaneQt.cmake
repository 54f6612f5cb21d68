# Settings shared by every target that uses Qt: every conversion between Windows-1252 bytes and
# QString has to be written out.
add_library(parvane_qt_options INTERFACE)
target_link_libraries(parvane_qt_options INTERFACE parvane_options)
target_compile_definitions(parvane_qt_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTOUIC ON)
set(CMAKE_AUTORCC ON)
