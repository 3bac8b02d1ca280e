# The Windows-only parts, built with the MinGW toolchain (cmake/MinGW.cmake).

# COM automation client, VARIANT conversion, the message filter, and the
# platform's running object table and window operations.
add_library(page_com STATIC
  cad/ComAutomation.cpp
  cad/ComError.cpp
  cad/ComScoped.cpp
  cad/ComVariant.cpp
  cad/MessageFilter.cpp
  cad/WindowsCad.cpp)
target_link_libraries(page_com PUBLIC page_core ole32 oleaut32 uuid user32)

# ---- The Win32 user interface and page.exe (ui/ windows, app/) ----
add_library(page_ui_win STATIC
  ui/Application.cpp
  ui/ControlLayout.cpp
  ui/DarkStyle.cpp
  ui/Dpi.cpp
  ui/ErrorReporting.cpp
  ui/MessageLoop.cpp
  ui/NoFocusButton.cpp
  ui/PagerForm.cpp
  ui/StyleNotFoundDialog.cpp
  ui/StylePainting.cpp
  ui/TargetCadDialog.cpp
  ui/Tooltip.cpp
  ui/Win32SortedListBox.cpp)
target_link_libraries(page_ui_win PUBLIC page_ui_logic page_com comctl32 uxtheme imm32 gdi32 user32)

add_executable(page WIN32 app/Main.cpp app/page.rc)
target_link_libraries(page PRIVATE page_ui_win)
if(MINGW)
  target_link_options(page PRIVATE -municode)
endif()
# ---- end of the Win32 user interface ----

# ---- simcad.exe: the simulated CAD as an out-of-process COM server (sim/) ----
add_library(page_sim_server STATIC
  sim/DispatchServer.cpp
  sim/SimCadServer.cpp
  sim/SimCadServerRegistration.cpp)
target_link_libraries(page_sim_server PUBLIC page_sim page_com advapi32)

add_executable(simcad WIN32 sim/SimCadMain.cpp sim/SimCadServerFilter.cpp sim/SimCadViewer.cpp)
target_link_libraries(simcad PRIVATE page_sim_server gdi32 user32 shell32)
if(MINGW)
  target_link_options(simcad PRIVATE -municode)
endif()

# Get through COM against simcad.exe: a benchmark that prints figures (scripts/bench-com).
add_executable(page_com_bench bench/ComBench.cpp tests/windows/SimCadProcess.cpp)
target_include_directories(page_com_bench PRIVATE tests/windows)
target_compile_definitions(page_com_bench PRIVATE PAGE_SAMPLE_DRAWING="${CMAKE_SOURCE_DIR}/demo/Sample12.dxf"
  PAGE_BLOCK_DRAWING="${CMAKE_SOURCE_DIR}/tests/data/blocks-nested.dxf")
target_link_libraries(page_com_bench PRIVATE page_com)
add_dependencies(page_com_bench simcad)
# ---- end of simcad.exe ----
