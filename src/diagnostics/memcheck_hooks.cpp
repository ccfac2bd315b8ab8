// Replaced global allocation functions (the heap-block counter) live here.
