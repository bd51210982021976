# Code that needs no system call: it never includes <windows.h> and builds for the host too.
set(KESTRUNE_PURE_SOURCES
  config/chainer_config.cpp
  config/config_file.cpp
  config/ini_document.cpp
  log/log_format.cpp
  package/package_file_resolver.cpp
  platform/file_rules.cpp
  platform/path_text.cpp
  platform/registry_path.cpp
  platform/text.cpp
  platform/url_text.cpp
)
set(KESTRUNE_PURE_TESTS
  config/chainer_config_test.cpp
  config/config_file_test.cpp
  config/ini_document_test.cpp
  log/log_format_test.cpp
  package/package_file_resolver_test.cpp
  platform/file_rules_test.cpp
  platform/path_text_test.cpp
  platform/registry_path_test.cpp
  platform/text_test.cpp
  platform/url_text_test.cpp
)

# Code that calls the system.
set(KESTRUNE_WINDOWS_SOURCES
  app/chainer_app.cpp
  app/installer_mutex.cpp
  config/chainer_config_system.cpp
  detect/os_version.cpp
  detect/references.cpp
  log/logger.cpp
  platform/access_list.cpp
  platform/cpu.cpp
  platform/files.cpp
  platform/fs_redirection.cpp
  platform/registry.cpp
  platform/system_paths.cpp
  platform/url.cpp
  platform/wow64.cpp
)
set(KESTRUNE_WINDOWS_TESTS
  config/chainer_config_system_test.cpp
  log/logger_test.cpp
  platform/access_list_test.cpp
  platform/files_test.cpp
  platform/fs_redirection_test.cpp
  platform/registry_test.cpp
  platform/system_paths_test.cpp
  platform/url_test.cpp
)

# Tests that use objects shared by the whole prefix (the installer's global mutex, the real
# chainer.exe and its shared log folder). They run one at a time.
set(KESTRUNE_SYSTEM_TESTS
  app/installer_mutex_test.cpp
  tests/chainer_e2e_test.cpp
)
