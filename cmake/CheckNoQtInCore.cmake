# Fails when any file of the core library includes a Qt header: the core must
# stay plain C++ so that the command-line tool and the tests need no Qt.
file(GLOB_RECURSE core_files "${CORE_DIR}/*.h" "${CORE_DIR}/*.cpp")
set(offenders "")
foreach(f IN LISTS core_files)
  # Qt's headers are Q plus a capital (QString, QObject) or Qt (QtCore/...); Query.h is ours.
  file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Z]|Qt)")
  if(hits)
    list(APPEND offenders "${f}: ${hits}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt header included in src/core:\n${offenders}")
endif()
