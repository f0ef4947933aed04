namespace kestrix_sim { int placeholder() { return 0; } }
