# Copies the page, the game's pictures and sounds and the fonts into WEB_DIR, and lists the
# game's files in game/files.txt, which the page fetches into the game's file system.
file(MAKE_DIRECTORY ${WEB_DIR}/game/data ${WEB_DIR}/fonts)
foreach(f ${PAGE_FILES})
  file(COPY ${PAGE_DIR}/${f} DESTINATION ${WEB_DIR})
endforeach()
file(GLOB pictures RELATIVE ${ART_DIR} ${ART_DIR}/data/*.png)
file(GLOB sounds RELATIVE ${ART_DIR} ${ART_DIR}/kavrona_w*.wav)
set(listing "")
foreach(f ${pictures} ${sounds})
  get_filename_component(sub ${f} DIRECTORY)
  file(COPY ${ART_DIR}/${f} DESTINATION ${WEB_DIR}/game/${sub})
  string(APPEND listing "${f}\n")
endforeach()
file(WRITE ${WEB_DIR}/game/files.txt "${listing}")
file(COPY ${ART_DIR}/data/icon.png DESTINATION ${WEB_DIR})
file(COPY ${MINCHO} ${GOTHIC} DESTINATION ${WEB_DIR}/fonts)
get_filename_component(mincho ${MINCHO} NAME)
get_filename_component(gothic ${GOTHIC} NAME)
file(WRITE ${WEB_DIR}/fonts/fonts.css
  "@font-face { font-family: KavronaMincho; src: url(${mincho}) format('truetype'); }\n"
  "@font-face { font-family: KavronaGothic; src: url(${gothic}) format('truetype'); }\n")
file(COPY_FILE ${LICENCE} ${WEB_DIR}/fonts/LICENSE-IPA-fonts.txt)
