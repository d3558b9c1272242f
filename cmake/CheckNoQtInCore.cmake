# Fails when any file of the core library includes a Qt header: the core must
# stay plain C++ so that the command-line tool and the tests need no Qt.
# CORE_FILES lists the library's sources, relative to CORE_DIR.
if(NOT CORE_FILES)
  message(FATAL_ERROR "CheckNoQtInCore: no CORE_FILES given")
endif()
set(offenders "")
foreach(f IN LISTS CORE_FILES)
  # Qt's headers are Q plus a capital (QString, QObject) or Qt (QtCore/...).
  file(STRINGS "${CORE_DIR}/${f}" hits REGEX "^[ 	]*#[ 	]*include[ 	]*[<\"](Q[A-Z]|Qt)")
  if(hits)
    list(APPEND offenders "${CORE_DIR}/${f}: ${hits}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt header included in src/core:\n${offenders}")
endif()
