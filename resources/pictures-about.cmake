# The pictures of the About box and the preferences dialog, as prefix:base size in pixels at 100 %.
# IMG_LOGO: the product logo. Its 100 % picture is the About box's 48-pixel logo and
# its 150 % picture the 72-pixel one; the preferences dialog's pictures are listed
# with the add-in's own in CMakeLists.txt.
list(APPEND vantorel_pictures IMG_LOGO:48)
