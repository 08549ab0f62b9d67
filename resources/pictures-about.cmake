# The pictures of the About box and the preferences dialog, as prefix:base size in pixels at 100 %.
list(APPEND vantorel_pictures)
