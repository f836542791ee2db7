# The installed headers, relative to src/: the public API and nothing else. Each library installs
# its list under include/vestrak; the test installed_headers_stand_alone checks that exactly these
# are installed and that each compiles on its own in a consumer. A header joins a list only when
# an integrator names what it declares, or an installed header needs it.

# The controls, the ports an integrator implements or passes in (the widget set, the platform
# services, with the listing a settings store gives), and the Linux implementations of those
# services.
set(VESTRAK_CONTROLS_HEADERS
  export.h
  citree/citree.h
  cistatus/cistatus.h
  ports/clock.h
  ports/command_button.h
  ports/control_error.h
  ports/control_surface.h
  ports/file_system.h
  ports/image_lists.h
  ports/list_box.h
  ports/picture_box.h
  ports/platform.h
  ports/popup_menu.h
  ports/profile.h
  ports/settings_store.h
  containers/settings_entries.h
  ports/signal.h
  ports/special_folders.h
  ports/text_box.h
  ports/timer.h
  ports/toolbar.h
  ports/tree.h
  ports/widget.h
  linux_platform/environment_special_folders.h
  linux_platform/ini_profile.h
  linux_platform/local_file_system.h
  linux_platform/sqlite_settings_store.h
  linux_platform/system_clock.h)

# The Qt widgets and the platform they run on.
set(VESTRAK_QTWIDGETS_HEADERS
  qt/application_platform.h
  qt/citree_widget.h
  qt/cistatus_widget.h
  qt/control_widget_host.h
  qt/live_platform.h)

# The MQTT tag feed answering a status tree.
set(VESTRAK_FEEDS_HEADERS
  feeds/feed_status_answer.h
  feeds/mqtt_feed_options.h
  feeds/mqtt_tag_feed.h
  feeds/sparkplug_feed.h
  feeds/sparkplug_feed_options.h
  feeds/sparkplug_payload.h
  feeds/sparkplug_status_mapping.h
  feeds/tag_status_source.h)
