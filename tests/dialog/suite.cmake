# Browser and media player elements are built on the stand-ins of the controls suite.
target_sources(test_${name} PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/controls/FakeBrowser.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/controls/FakeMediaPlayer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/controls/FakeOcxControl.cpp)
target_include_directories(test_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/controls)
