# The pictures of the quick start wizard, as prefix:base size in pixels at 100 %.
# Each is square and as wide as the box it fills (page 3's box, 446 wide, takes 448,
# which gives whole pixels at every scale); the drawing lies in the middle band that
# has the box's shape.
list(APPEND vantorel_pictures IMG_WIZARD1:280 IMG_WIZARD2:448 IMG_WIZARD3:248 IMG_WIZARD4:300)
