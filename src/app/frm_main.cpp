// The main window's handlers (platform-free); filled in with the window itself.
