namespace kestrix_test { int placeholder() { return 0; } }
