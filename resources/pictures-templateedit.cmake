# The pictures of the template editor, as prefix:base size in pixels at 100 %.
list(APPEND vantorel_pictures)
