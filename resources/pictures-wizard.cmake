# The pictures of the quick start wizard, as prefix:base size in pixels at 100 %.
list(APPEND vantorel_pictures)
