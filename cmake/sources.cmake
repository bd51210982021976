# Code that needs no system call: it never includes <windows.h> and builds for the host too.
set(KESTRUNE_PURE_SOURCES
  config/chainer_config.cpp
  config/config_file.cpp
  config/ini_document.cpp
  detect/file_search_plan.cpp
  detect/os_names.cpp
  detect/reference_scanner.cpp
  detect/search_combination.cpp
  detect/search_compare.cpp
  detect/version_number.cpp
  log/log_format.cpp
  package/package_file_resolver.cpp
  platform/download_names.cpp
  platform/fatal.cpp
  platform/file_rules.cpp
  platform/path_text.cpp
  platform/registry_path.cpp
  platform/text.cpp
  platform/url_text.cpp
  transfer/transfer_rules.cpp
)
set(KESTRUNE_PURE_TESTS
  config/chainer_config_test.cpp
  config/config_file_test.cpp
  config/ini_document_test.cpp
  detect/file_search_plan_test.cpp
  detect/os_names_test.cpp
  detect/reference_scanner_test.cpp
  detect/search_combination_test.cpp
  detect/search_compare_test.cpp
  detect/version_number_test.cpp
  log/log_format_test.cpp
  package/package_file_resolver_test.cpp
  platform/download_names_test.cpp
  platform/file_rules_test.cpp
  platform/path_text_test.cpp
  platform/registry_path_test.cpp
  platform/text_test.cpp
  platform/url_text_test.cpp
  transfer/transfer_rules_test.cpp
)

# Code that calls the system.
set(KESTRUNE_WINDOWS_SOURCES
  app/chainer_app.cpp
  app/installer_mutex.cpp
  config/chainer_config_system.cpp
  detect/file_search.cpp
  detect/os_filters.cpp
  detect/os_version.cpp
  detect/references.cpp
  detect/searches.cpp
  detect/windows_installer.cpp
  detect/version_resource.cpp
  log/logger.cpp
  platform/access_list.cpp
  platform/cpu.cpp
  platform/files.cpp
  platform/fs_redirection.cpp
  platform/procedure.cpp
  platform/registry.cpp
  platform/system_paths.cpp
  platform/url.cpp
  platform/wow64.cpp
  prereq/download_presence.cpp
  prereq/evaluation.cpp
  transfer/completion_event.cpp
  transfer/ftp_transfer.cpp
  transfer/http_transfer.cpp
  transfer/local_copy.cpp
  transfer/receive.cpp
  transfer/request_handle.cpp
  transfer/transfer_session.cpp
  ui/message_pump.cpp
)
set(KESTRUNE_WINDOWS_TESTS
  config/chainer_config_system_test.cpp
  detect/references_test.cpp
  detect/searches_test.cpp
  detect/os_filters_test.cpp
  detect/os_version_test.cpp
  detect/version_resource_test.cpp
  log/logger_test.cpp
  platform/access_list_test.cpp
  platform/files_test.cpp
  platform/fs_redirection_test.cpp
  platform/procedure_test.cpp
  platform/registry_test.cpp
  platform/system_paths_test.cpp
  platform/url_test.cpp
  prereq/download_presence_test.cpp
  prereq/evaluation_test.cpp
  transfer/completion_event_test.cpp
)

# Transfer tests: they talk to local servers that the ctest fixture "transfer_servers" starts.
set(KESTRUNE_TRANSFER_TESTS
  transfer/ftp_transfer_test.cpp
  transfer/http_transfer_test.cpp
  transfer/local_copy_test.cpp
  transfer/transfer_session_test.cpp
)

# Tests that use objects shared by the whole prefix (the installer's global mutex, the real
# chainer.exe and its shared log folder). They run one at a time.
set(KESTRUNE_SYSTEM_TESTS
  app/installer_mutex_test.cpp
  tests/chainer_e2e_test.cpp
)

# Tests that search for the probe products the installer tests' fixture installs into the prefix
# (cmake/test_fixtures.cmake); they also start the real chainer.exe.
set(KESTRUNE_INSTALLER_TESTS
  detect/installer_searches_test.cpp
  detect/windows_installer_test.cpp
  tests/installer_e2e_test.cpp
)
