# The pictures of the template editor, as prefix:base size in pixels at 100 %: the
# images of its insert buttons, enabled and disabled.
list(APPEND vantorel_pictures
    IMG_INSERTNAME:24 IMG_INSERTNAME_DISABLED:24
    IMG_INSERTEMAIL:24 IMG_INSERTEMAIL_DISABLED:24
    IMG_INSERTTIME:24 IMG_INSERTTIME_DISABLED:24
    IMG_INSERTDATE:24 IMG_INSERTDATE_DISABLED:24
    IMG_INSERTSIGNATURE:24 IMG_INSERTSIGNATURE_DISABLED:24)
