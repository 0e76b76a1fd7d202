x = 

##### Error: too long value (max = 32 bits) ! #####

;
y = 0xFF;
