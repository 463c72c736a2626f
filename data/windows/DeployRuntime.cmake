# Run at install time (cmake --install, CPack): completes the Windows folder of the programs with
# what they load at run time. Qt's plugins of the list below go into their subfolders beside the
# programs (where Qt looks first); then every DLL that a program or a plugin imports, directly or
# through another DLL, is copied beside the programs when it is found in Qt's bin folder or in the
# MinGW-w64 runtime's folders. What is not found there is Windows' own (KERNEL32, USER32, ...).
#
# The copies are stripped of their symbols (TULVO_STRIP), as the programs are by CPack.
#
# Expects: TULVO_OBJDUMP, TULVO_STRIP, TULVO_QT_PREFIX, TULVO_RUNTIME_DIRS (a list), TULVO_QT_PLUGINS (a list of
# "folder/name.dll", a missing one is skipped with a note), TULVO_BIN (the programs' folder below
# the install prefix).
cmake_policy(PUSH)
cmake_policy(VERSION 3.25) # install scripts start with the policies of CMake 2.x
set(bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${TULVO_BIN}")

set(queue)
file(GLOB programs "${bin}/*.exe")
list(APPEND queue ${programs})
foreach(plugin IN LISTS TULVO_QT_PLUGINS)
  set(source "${TULVO_QT_PREFIX}/plugins/${plugin}")
  if(NOT EXISTS "${source}")
    message(STATUS "Qt plugin not in this Qt, left out: ${plugin}")
    continue()
  endif()
  cmake_path(GET plugin PARENT_PATH folder)
  file(INSTALL "${source}" DESTINATION "${bin}/${folder}")
  cmake_path(GET plugin FILENAME name)
  execute_process(COMMAND "${TULVO_STRIP}" --strip-unneeded "${bin}/${folder}/${name}" COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND queue "${bin}/${folder}/${name}")
endforeach()

set(search_dirs "${TULVO_QT_PREFIX}/bin" ${TULVO_RUNTIME_DIRS})
set(copied)
while(queue)
  list(POP_FRONT queue file)
  execute_process(COMMAND "${TULVO_OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
  foreach(import IN LISTS imports)
    string(REPLACE "DLL Name: " "" dll "${import}")
    string(TOLOWER "${dll}" key)
    if(key IN_LIST copied)
      continue()
    endif()
    list(APPEND copied "${key}")
    foreach(dir IN LISTS search_dirs)
      if(EXISTS "${dir}/${dll}")
        file(INSTALL "${dir}/${dll}" DESTINATION "${bin}")
        execute_process(COMMAND "${TULVO_STRIP}" --strip-unneeded "${bin}/${dll}" COMMAND_ERROR_IS_FATAL ANY)
        list(APPEND queue "${bin}/${dll}")
        break()
      endif()
    endforeach()
  endforeach()
endwhile()
cmake_policy(POP)
