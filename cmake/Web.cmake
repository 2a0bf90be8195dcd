# The browser build (emscripten): the engine's modules build unchanged; GL 1.1 comes
# from our layer on WebGL 2, DevIL from a small stand-in, pictures and sound from the page.
set(LANDSCAPE_WEB_DATA "" CACHE PATH "Run folder the data generator filled (build/demo)")
set(LANDSCAPE_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the page is written")
if(NOT EXISTS ${LANDSCAPE_WEB_DATA}/data)
  message(FATAL_ERROR "LANDSCAPE_WEB_DATA must name the run folder the data generator filled (build/demo)")
endif()

add_compile_options("SHELL:-include ${PROJECT_SOURCE_DIR}/src/platform/web/Cxx20Compat.h")

# What the engine's modules link for GL 1.1 and GLU, and for DevIL.
add_library(landscape_gl INTERFACE)
target_link_libraries(landscape_gl INTERFACE lsc_webgl)
add_library(landscape_devil INTERFACE)
target_link_libraries(landscape_devil INTERFACE lsc_webdevil)

# The page: index.html, its JS and wasm, and the run folder packed beside them.
function(landscape_web_program)
  set(web ${PROJECT_SOURCE_DIR}/src/platform/web)
  add_executable(landscape ${PROJECT_SOURCE_DIR}/src/main_web.cpp)
  target_link_libraries(landscape PRIVATE landscape_engine)
  set_target_properties(landscape PROPERTIES OUTPUT_NAME index SUFFIX .html
                        RUNTIME_OUTPUT_DIRECTORY ${LANDSCAPE_WEB_SITE}
                        LINK_DEPENDS "${web}/shell.html;${web}/page.js")
  target_link_options(landscape PRIVATE
    # The engine's loop and its message boxes block; Asyncify lets them wait for the
    # next animation frame or a click without changing them. The GL layer only calls
    # WebGL, never anything that waits, so its drawing code is left uninstrumented.
    -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536 "-sASYNCIFY_REMOVE=[\"webgl::*\",\"gl*\"]"
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    -sENVIRONMENT=web -sMINIFY_HTML=0
    "SHELL:--shell-file ${web}/shell.html" "SHELL:--pre-js ${web}/page.js"
    "SHELL:--preload-file ${LANDSCAPE_WEB_DATA}/data@/data"
    "SHELL:--preload-file ${LANDSCAPE_WEB_DATA}/textures@/textures")
endfunction()
