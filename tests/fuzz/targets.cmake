# The fuzz targets: one <Name>Target.cpp each, defining fuzz::Fuzz<Name>
# (FuzzTargets.h), with seed inputs in seeds/<Name>/ and the inputs fuzzing has
# found faults with in regressions/<Name>/. Included by tests/fuzz/CMakeLists.txt
# (the libFuzzer programs) and tests/CMakeLists.txt (the native regression test).
set(FUZZ_TARGET_NAMES
  IniFile
  SettingsValues
  CodeTexts
  ReleaseInfoText
  FontNameTable
  ReleaseChoice
  TextEncoding
)
set(FUZZ_TARGET_SOURCES)
foreach(name ${FUZZ_TARGET_NAMES})
  list(APPEND FUZZ_TARGET_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${name}Target.cpp)
endforeach()
