# The test sources shared by the Linux and the Windows build, by folder: each
# name is tests/<folder>/<name>.cpp and becomes one test program.
set(KELVANE_CORE_TESTS agreement_test ccore_test gbk_test random_test texts_test)
# The INI option store; Windows has its own twin in tests/win32/.
set(KELVANE_CORE_LINUX_TESTS config_store_test)
set(KELVANE_GEN_TESTS number_gen_test number_text_test row_blocks_test string_gen_test timed_run_test)
set(KELVANE_UI_TESTS dialog_layer_test main_window_test number_page_test
  string_page_test time_page_test timed_run_driver_test)
