# One INTERFACE target carries the project's compiler settings; every target links it.
add_library(parafrix_options INTERFACE)
target_compile_features(parafrix_options INTERFACE cxx_std_20)
target_compile_options(parafrix_options INTERFACE -Wall -Wextra -Wshadow -Woverloaded-virtual -Wold-style-cast)
# COM interfaces are released through their own Release(), never deleted through the
# base: their missing virtual destructors are by design.
if(NOT WIN32)
    target_compile_options(parafrix_options INTERFACE -Wnon-virtual-dtor)
endif()
if(PARAFRIX_WERROR)
    target_compile_options(parafrix_options INTERFACE -Werror)
endif()
target_compile_definitions(parafrix_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
if(PARAFRIX_ASSERTIONS)
    target_compile_definitions(parafrix_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()

if(PARAFRIX_SANITIZERS)
    string(REPLACE ";" "," _san "${PARAFRIX_SANITIZERS}")
    # Sanitizers apply to everything, the morphology library included.
    add_compile_options(-fsanitize=${_san} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=${_san})
endif()
