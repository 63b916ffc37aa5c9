# parafrix_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>] [GUI])
# Builds one Qt Test executable and registers it with CTest. Every test runs in the
# C.UTF-8 locale with its own temporary HOME and XDG folders, so no test can touch
# the user's real settings or files; GUI tests run on the offscreen platform.
function(parafrix_add_test)
    cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE parafrix_options Qt6::Test ${T_LIBS})
    target_compile_definitions(${T_NAME} PRIVATE
        PARAFRIX_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
        PARAFRIX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        PARAFRIX_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(_labels ${T_LABELS})
    if(NOT _labels)
        set(_labels core)
    endif()
    set(_home ${CMAKE_BINARY_DIR}/test-home/${T_NAME})
    file(MAKE_DIRECTORY ${_home} ${_home}/runtime)
    file(CHMOD ${_home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set(_env
        "LC_ALL=C.UTF-8"
        "HOME=${_home}"
        "XDG_CONFIG_HOME=${_home}/.config"
        "XDG_DATA_HOME=${_home}/.local/share"
        "XDG_CACHE_HOME=${_home}/.cache"
        "XDG_RUNTIME_DIR=${_home}/runtime")
    if(T_GUI)
        list(APPEND _env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${_labels}" ENVIRONMENT "${_env}" TIMEOUT 300)
endfunction()
