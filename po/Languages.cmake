# The languages Ponderix speaks besides English, by code: each has its
# translation po/CODE.po and its help document
# assets/help/ponderix-help.CODE.html. Adding a language is adding its code
# here; the build embeds the translation, installs the help document and
# adds the language to the desktop entry and the metainfo.
set(PONDERIX_LANGUAGES de fr es it pt)
