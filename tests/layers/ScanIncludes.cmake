# Run by the LayerIncludes test (cmake -P): no source of portable LLF, HLF or
# the game includes a platform-layer or SDL/OpenGL header. The trial builds prove the
# include folders refuse such headers; this also catches the system paths
# that reach them anyway (<SDL2/SDL.h>, <GL/gl.h>).
file(GLOB_RECURSE sources ${ROOT}/llf/Src/*.h ${ROOT}/llf/Src/*.cpp ${ROOT}/hlf/Src/*.h ${ROOT}/hlf/Src/*.cpp
  ${ROOT}/game/Src/*.h ${ROOT}/game/Src/*.cpp)
set(found "")
foreach(source ${sources})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](SDL|GL/|window/|gl/|os/|libbass/)")
  foreach(line ${lines})
    file(RELATIVE_PATH name ${ROOT} ${source})
    string(APPEND found "  ${name}: ${line}\n")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Platform headers included from portable code:\n${found}")
endif()
list(LENGTH sources count)
message(STATUS "${count} portable sources include no platform header")
