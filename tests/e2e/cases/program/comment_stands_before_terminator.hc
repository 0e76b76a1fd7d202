x = 1

/*  then stop */

;
stop

/*  end of program */

;
