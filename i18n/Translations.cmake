# Korean is the development language: the Korean texts in the sources are the keys. Other languages live in
# i18n/lumivex_<lang>.ts; `cmake --build build --target lumivex_lupdate` refreshes them from the sources,
# and the build compiles them into the executable under :/i18n.
function(lumivex_add_translations target)
  file(GLOB ts_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/i18n/*.ts)
  file(GLOB_RECURSE i18n_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/core/*.cpp ${PROJECT_SOURCE_DIR}/app/*.cpp)
  qt_add_translations(${target}
    TS_FILES ${ts_files}
    SOURCES ${i18n_sources}
    RESOURCE_PREFIX /i18n
    LUPDATE_OPTIONS -no-obsolete -locations none)
endfunction()
